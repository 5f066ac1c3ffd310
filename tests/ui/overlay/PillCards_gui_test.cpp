// The cards on a real voice controller, without a display: which keys and buttons decide a
// confirmation and when, what the answer card copies and closes, and the capsule's width.
#include "core/AppSettings.h"
#include "speech/VoiceController.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/VoiceRig.h"
#include "ui/components/DraftEditor.h"
#include "ui/components/GlassButton.h"
#include "ui/components/MarkdownText.h"
#include "ui/overlay/AnswerCard.h"
#include "ui/overlay/ConfirmCard.h"
#include "ui/overlay/PillView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using Choice = Confirmation::Choice;

namespace {

QCoro::Task<> ask(VoiceController& c, ActionPreview preview, std::optional<Confirmation>* out) {
    *out = co_await c.agentConfirm(std::move(preview));
}

ActionPreview preview(bool editable) {
    ActionPreview p;
    p.symbol = QStringLiteral("square.stack.3d.up.fill");
    p.title = QStringLiteral("Executar **atalho** <b>já</b>");
    p.details = {QString(), QStringLiteral("Marcar"), QString(), QStringLiteral("_segundo_")};
    if (editable) {
        p.editableKey = QStringLiteral("input");
        p.editableValue = QStringLiteral("linha");
    }
    return p;
}

class PillCards : public ::testing::Test {
protected:
    // Asks for a confirmation and shows the card the pill would show for it.
    ConfirmCard& confirm(bool editable) {
        asked = ask(rig.controller(), preview(editable), &answer);
        card = std::make_unique<ConfirmCard>(*state.pendingAction(), state, access);
        card->show();
        card->takeFocus();
        return *card;
    }

    test::VoiceRig rig{test::RecordedSpeech::goForwardPath()};
    AppState& state = rig.state();
    ControllerAccess access = [this]() -> VoiceController& { return rig.controller(); };
    std::optional<QCoro::Task<>> asked;
    std::optional<Confirmation> answer;
    std::unique_ptr<ConfirmCard> card;
};

} // namespace

TEST_F(PillCards, KeysDecideOnlyAfterTheFirstMomentsAndReturnBreaksLinesInTheEditor) {
    enum Outcome { none, approve, decline };
    const struct {
        const char* name;
        bool editable;
        int waitMs;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Outcome outcome;
    } cases[] = {
        {"return at once", false, 0, Qt::Key_Return, {}, none},
        {"escape at once", false, 399, Qt::Key_Escape, {}, none},
        {"return later", false, 400, Qt::Key_Return, {}, approve},
        {"enter later", false, 400, Qt::Key_Enter, {}, approve},
        {"escape later", false, 400, Qt::Key_Escape, {}, decline},
        {"return in the editor", true, 400, Qt::Key_Return, {}, none},
        {"ctrl+return in the editor at once", true, 100, Qt::Key_Return, Qt::ControlModifier, none},
        {"ctrl+return in the editor", true, 400, Qt::Key_Return, Qt::ControlModifier, approve},
        {"escape in the editor", true, 400, Qt::Key_Escape, {}, decline},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        answer.reset();
        ConfirmCard& shown = confirm(c.editable);
        rig.advance(c.waitMs);
        QWidget* target = c.editable ? static_cast<QWidget*>(shown.editor()->editor()) : &shown;
        QTest::keyClick(target, c.key, c.modifiers);
        QCoreApplication::processEvents();
        if (c.outcome == none) {
            EXPECT_FALSE(answer) << "decided by a key";
            EXPECT_EQ(state.stage(), Stage::confirming);
            rig.controller().resolveConfirmation(false);
            test::spinUntil([&] { return answer.has_value(); });
            continue;
        }
        ASSERT_TRUE(test::spinUntil([&] { return answer.has_value(); }));
        EXPECT_EQ(answer->choice, c.outcome == approve ? Choice::approve : Choice::decline);
        if (c.editable) {
            EXPECT_EQ(answer->editedValue, QStringLiteral("linha"));
        }
    }
}

TEST_F(PillCards, TheEditorWritesTheDraftAndItsSendButtonApproves) {
    ConfirmCard& shown = confirm(true);
    EXPECT_EQ(shown.confirmButton(), nullptr) << "with an editor, Return is the editor's";
    QPlainTextEdit* editor = shown.editor()->editor();
    editor->moveCursor(QTextCursor::End);
    rig.advance(500);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, QStringLiteral("dois"));
    EXPECT_EQ(state.draftText(), QStringLiteral("linha\ndois"));
    EXPECT_EQ(state.stage(), Stage::confirming);
    // A click is deliberate: it needs no wait.
    QTest::mouseClick(shown.editor()->sendButton(), Qt::LeftButton);
    ASSERT_TRUE(test::spinUntil([&] { return answer.has_value(); }));
    EXPECT_EQ(answer->choice, Choice::approve);
    EXPECT_EQ(answer->editedValue, QStringLiteral("linha\ndois"));
}

TEST_F(PillCards, ButtonsDecideAndModelTextStaysLiteral) {
    for (const bool approve : {true, false}) {
        SCOPED_TRACE(approve);
        answer.reset();
        ConfirmCard& shown = confirm(false);
        EXPECT_EQ(shown.editor(), nullptr);
        EXPECT_EQ(shown.title()->textFormat(), Qt::PlainText);
        EXPECT_EQ(shown.title()->text(), QStringLiteral("Executar **atalho** <b>já</b>"));
        ASSERT_EQ(shown.detailLabels().size(), 2);
        EXPECT_EQ(shown.detailLabels()[1]->text(), QStringLiteral("_segundo_"));
        EXPECT_EQ(shown.detailLabels()[1]->textFormat(), Qt::PlainText);
        EXPECT_EQ(shown.cancelButton()->accessibleName(), QStringLiteral("Cancelar"));
        ASSERT_NE(shown.confirmButton(), nullptr);
        EXPECT_EQ(shown.confirmButton()->accessibleName(), QStringLiteral("Confirmar"));
        QTest::mouseClick(approve ? shown.confirmButton() : shown.cancelButton(), Qt::LeftButton);
        ASSERT_TRUE(test::spinUntil([&] { return answer.has_value(); }));
        EXPECT_EQ(answer->choice, approve ? Choice::approve : Choice::decline);
        EXPECT_EQ(answer->editedValue, std::nullopt);
        EXPECT_EQ(state.pendingAction(), std::nullopt);
    }
}

TEST_F(PillCards, AnswerCardCopiesTheSourceClosesAndFollowsTheHotkey) {
    AppSettings::shared().setHotkey(HotkeyChoice::fn);
    const QString text = QStringLiteral("**Feito**: veja [o mapa](https://mapa.org).");
    rig.controller().showAnswer(text);
    ASSERT_EQ(state.stage(), Stage::answer);
    AnswerCard card(text, access);
    card.show();
    EXPECT_FALSE(card.scrolls());
    EXPECT_EQ(card.answer()->plainText(), QStringLiteral("Feito: veja o mapa."));
    EXPECT_EQ(card.hint()->text(), QStringLiteral("segure fn para responder · esc fecha"));
    AppSettings::shared().setHotkey(HotkeyChoice::rightOption);
    EXPECT_EQ(card.hint()->text(), QStringLiteral("segure a tecla para responder · esc fecha"));
    AppSettings::shared().setHotkey(HotkeyChoice::fn);

    EXPECT_EQ(card.copyButton()->accessibleName(), QStringLiteral("Copiar"));
    for (int press = 0; press < 2; ++press) {
        QGuiApplication::clipboard()->setText(QStringLiteral("outro"));
        QTest::mouseClick(card.copyButton(), Qt::LeftButton);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
        EXPECT_EQ(card.copyButton()->accessibleName(), QStringLiteral("Copiado"));
    }
    EXPECT_EQ(card.closeButton()->accessibleName(), QStringLiteral("Fechar"));
    QTest::mouseClick(card.closeButton(), Qt::LeftButton);
    EXPECT_EQ(state.stage(), Stage::idle);

    AnswerCard longCard(QString(420, u'a'), access);
    EXPECT_TRUE(longCard.scrolls());
}

TEST_F(PillCards, ListeningCapsuleIsAsWideAsItsContent) {
    PillView view(state, access);
    view.resize(640, 460);
    state.setMode(VoiceMode::dictation);
    state.setStage(Stage::listening);
    state.setListeningSince(rig.clock().now());
    QCoreApplication::processEvents();
    // Mark, waveform of 32 bars and the timer, with their spacings and the paddings.
    EXPECT_EQ(view.pillRect().size(), QSize(8 + 34 + 10 + 174 + 10 + 32 + 14, 46));
    state.setListeningSince(std::nullopt);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.pillRect().width(), 8 + 34 + 10 + 174 + 14);
    EXPECT_EQ(view.pillRect().bottom() + 1, 460 - 14);
    state.setStage(Stage::idle);
    EXPECT_TRUE(view.pillRect().isNull());
    EXPECT_TRUE(view.drawnRegion().isEmpty());
}

TEST_F(PillCards, BubbleShowsTheNewestWordsOnAtMostTwoLines) {
    PillView view(state, access);
    view.resize(640, 460);
    state.setStage(Stage::listening);
    const QFontMetrics fm(view.bubbleLabel()->font());

    state.setLiveText(QStringLiteral("  abre o mapa  \n"));
    EXPECT_EQ(view.bubbleLabel()->text(), QStringLiteral("abre o mapa"));
    EXPECT_LE(view.bubbleLabel()->height(), fm.lineSpacing() + 1);

    QString words;
    for (int i = 0; words.size() < 500; ++i)
        words += QStringLiteral("palavra%1 ").arg(i);
    state.setLiveText(words);
    const QString shown = view.bubbleLabel()->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("…"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(words.trimmed().right(20)));
    EXPECT_LE(shown.size(), 121);
    EXPECT_EQ(view.bubbleLabel()->width(), 420);
    EXPECT_LE(fm.boundingRect(QRect(0, 0, 420, 1000), Qt::TextWordWrap, shown).height(),
              2 * fm.lineSpacing());

    state.setStage(Stage::success);
    EXPECT_TRUE(view.bubbleLabel()->parentWidget()->isHidden()) << "a bubble after listening";
}

TEST_F(PillCards, CardsWidenThePillAndAnEmailConfirmationIsWider) {
    PillView view(state, access);
    view.resize(640, 460);
    ActionPreview mail = preview(false);
    mail.email = EmailDraft{};
    for (const auto& [action, width] : {std::pair{preview(false), 420}, std::pair{mail, 580}}) {
        asked = ask(rig.controller(), action, &answer);
        ASSERT_EQ(state.stage(), Stage::confirming);
        EXPECT_EQ(view.pillRect().width(), width);
        EXPECT_NE(qobject_cast<ConfirmCard*>(view.content()), nullptr);
        rig.controller().resolveConfirmation(false);
        test::spinUntil([&] { return answer.has_value(); });
        answer.reset();
    }
    rig.controller().showAnswer(QStringLiteral("ok"));
    EXPECT_EQ(view.pillRect().width(), 420);
    EXPECT_NE(qobject_cast<AnswerCard*>(view.content()), nullptr);
}
