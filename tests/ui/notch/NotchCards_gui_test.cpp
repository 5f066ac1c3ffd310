// The island's cards on the offscreen platform: what each shows for the live state, and
// what its buttons leave behind.
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "platform/Platform.h"
#include "support/fakes/FakePointerSource.h"
#include "ui/components/Brand.h"
#include "ui/components/GlassButton.h"
#include "ui/components/MarkdownText.h"
#include "ui/components/SymbolBadge.h"
#include "ui/composer/EmailComposerView.h"
#include "ui/notch/NotchAnswerCard.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchField.h"
#include "ui/notch/NotchHoverPanel.h"
#include "ui/notch/NotchIsland.h"
#include "ui/notch/NotchView.h"
#include "ui/notch/RecentEntryDetail.h"
#include "ui/notch/RecentTaskRow.h"
#include "ui/overlay/ConfirmCard.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using Kind = NotchPresentation::Kind;

namespace {

class NotchCards : public ::testing::Test {
protected:
    NotchCards() { Platform::install<PointerSource>(pointer); }
    ~NotchCards() override { Platform::uninstall<PointerSource>(); }

    template <typename Card> Card* card() { return qobject_cast<Card*>(notch.view().card()); }
    // Replaced widgets go once the event loop gets back to them.
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void hover() {
        notch.model().setHovering(true);
        settle();
    }

    std::shared_ptr<test::FakePointerSource> pointer = std::make_shared<test::FakePointerSource>();
    AppState state;
    NotchController notch{state, []() -> VoiceController& {
                              ADD_FAILURE() << "no voice controller call expected";
                              std::abort();
                          }};
};

TEST_F(NotchCards, answerCardFollowsTheConversationAndCopiesTheSource) {
    state.setAnswerText(QStringLiteral("Veja **isto** em [site](https://exemplo.com)."));
    state.setLastRequest(QStringLiteral("o que é"));
    state.setStage(Stage::answer);
    settle();
    auto* answer = card<NotchAnswerCard>();
    ASSERT_NE(answer, nullptr);
    EXPECT_FALSE(answer->scrolls());
    EXPECT_EQ(answer->answer()->plainText(), "Veja isto em site.");

    struct Case {
        int turns;
        bool label, newConversation;
    };
    for (const Case c : {Case{0, false, false}, Case{1, false, true}, Case{2, true, true}}) {
        state.setConversationTurns(c.turns);
        EXPECT_EQ(answer->conversation()->isVisibleTo(answer), c.label) << c.turns;
        EXPECT_EQ(answer->newConversationButton()->isVisibleTo(answer), c.newConversation);
    }
    EXPECT_EQ(answer->conversation()->text(), "Conversa · 2");

    state.setIsSpeaking(true);
    EXPECT_EQ(answer->speechButton()->accessibleName(), "Parar de falar");
    state.setIsSpeaking(false);
    EXPECT_EQ(answer->speechButton()->accessibleName(), "Ouvir de novo");

    answer->copyButton()->click();
    EXPECT_EQ(QApplication::clipboard()->text(), state.answerText());
    EXPECT_EQ(answer->copyButton()->look().title, "Copiado");

    // A reply typed and left unsent is there again in the next answer card.
    answer->reply()->edit()->setText(QStringLiteral("e depois?"));
    state.setStage(Stage::idle);
    settle();
    state.setAnswerText(QString(420, QChar(u'x')));
    state.setStage(Stage::answer);
    settle();
    answer = card<NotchAnswerCard>();
    ASSERT_NE(answer, nullptr);
    EXPECT_TRUE(answer->scrolls());
    EXPECT_FALSE(answer->copied()); // a new card starts over
    EXPECT_EQ(answer->reply()->edit()->text(), "e depois?");
}

TEST_F(NotchCards, hoverPanelShowsTheQuestionTheRecentEntriesAndAnOpenedOne) {
    HistoryStore& history = HistoryStore::shared();
    for (int i = 0; i < 6; ++i)
        history.add(
            HistoryEntry::make(HistoryEntry::Kind::agent, {}, QString("pedido %1").arg(i), "ok"));
    hover();
    auto* panel = card<NotchHoverPanel>();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->findChildren<RecentTaskRow*>().size(), 4);
    EXPECT_EQ(panel->findChild<MarkdownText*>(), nullptr); // no question pending

    state.setAnswerText(QStringLiteral("Qual sala?"));
    state.setAwaitingReply(true);
    settle();
    auto* question = panel->findChild<MarkdownText*>(QString(), Qt::FindChildrenRecursively);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->plainText(), "Qual sala?");
    EXPECT_TRUE(panel->field()->edit()->placeholderText().startsWith("Responda à pergunta…"));

    // Opening a row shows the entry in its place; the back button returns to the list.
    RecentTaskRow* row = panel->findChildren<RecentTaskRow*>().at(1);
    const QUuid id = row->entry().id;
    row->click();
    settle();
    EXPECT_EQ(notch.model().expandedEntryID(), id);
    auto* detail = panel->findChild<RecentEntryDetail*>();
    ASSERT_NE(detail, nullptr);
    detail->backButton()->click();
    settle();
    EXPECT_FALSE(notch.model().expandedEntryID().has_value());

    // An opened entry that left the history shows the list again.
    notch.model().setExpandedEntryID(QUuid::createUuid());
    settle();
    EXPECT_EQ(panel->findChild<RecentEntryDetail*>(), nullptr);
    EXPECT_EQ(panel->findChildren<RecentTaskRow*>().size(), 4);
}

TEST_F(NotchCards, confirmCardHidesTheRepeatedDetailAndHandsAnEmailToTheComposer) {
    ActionPreview action;
    action.symbol = QStringLiteral("bolt");
    action.title = QStringLiteral("Executar atalho");
    action.details = {QStringLiteral("Marcar"), QString(), QStringLiteral("texto")};
    action.editableKey = QStringLiteral("input");
    action.editableValue = QStringLiteral("texto");
    state.setPendingAction(action);
    state.setStage(Stage::confirming);
    settle();
    auto* confirm = card<ConfirmCard>();
    ASSERT_NE(confirm, nullptr);
    QStringList shown;
    for (QLabel* l : confirm->detailLabels())
        shown << l->text();
    EXPECT_EQ(shown, QStringList{"Marcar"});
    EXPECT_EQ(notch.model().islandSize().width(),
              NotchPresentation::islandWidth(Kind::confirm,
                                             notch.model().geometry().notchSize.width(), false));

    // The island's own look: the request above a small badge on a faint disc, the details
    // dimmed alike, regular buttons, the confirm one in the brand's purple.
    EXPECT_EQ(confirm->request(), nullptr) << "no request was made";
    EXPECT_EQ(confirm->badge()->look().side, 32);
    EXPECT_EQ(confirm->badge()->look().fill, 0.08);
    EXPECT_FALSE(confirm->badge()->look().outlined);
    EXPECT_EQ(confirm->detailLabels().front()->palette().color(QPalette::WindowText).alphaF(),
              Brand::withOpacity(Qt::white, 0.6).alphaF());
    EXPECT_EQ(confirm->confirmButton(), nullptr) << "the editor approves";
    action.editableKey.reset();
    state.setLastRequest(QStringLiteral("roda o atalho Marcar"));
    state.setPendingAction(action);
    settle();
    confirm = card<ConfirmCard>();
    ASSERT_NE(confirm, nullptr);
    ASSERT_NE(confirm->request(), nullptr);
    EXPECT_EQ(confirm->request()->text(), QStringLiteral("roda o atalho Marcar"));
    ASSERT_NE(confirm->confirmButton(), nullptr);
    EXPECT_EQ(confirm->confirmButton()->look().prominent, Brand::roxo());
    EXPECT_FALSE(confirm->confirmButton()->look().large);
    state.setLastRequest({});

    EmailDraft draft;
    draft.subject = QStringLiteral("Reunião");
    action.email = draft;
    state.setPendingAction(action);
    settle();
    confirm = card<ConfirmCard>();
    ASSERT_NE(confirm, nullptr);
    EXPECT_NE(confirm->composer(), nullptr);
    EXPECT_EQ(notch.model().islandSize().width(),
              NotchPresentation::islandWidth(Kind::confirm,
                                             notch.model().geometry().notchSize.width(), true));
}

} // namespace
