// The e-mail composer in the pill's confirmation card, on a real voice controller: what it
// shows of the draft, how chips and fields edit it, the keys and buttons that answer, and an
// agent turn whose edited recipient is what sendmail receives.
#include "agent/ContactStore.h"
#include "agent/MailMessage.h"
#include "core/AppSettings.h"
#include "platform/Platform.h"
#include "platform/linux/SendmailTransport.h"
#include "speech/VoiceController.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/ScriptedModel.h"
#include "support/TestEnvironment.h"
#include "support/VoiceRig.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/MotionEffect.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/GlassButton.h"
#include "ui/composer/EmailComposerView.h"
#include "ui/composer/OriginalEmailView.h"
#include "ui/composer/RecipientChip.h"
#include "ui/composer/RecipientField.h"
#include "ui/menubar/ElidedLabel.h"
#include "ui/overlay/ConfirmCard.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using Choice = Confirmation::Choice;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QCoro::Task<> ask(VoiceController& c, ActionPreview preview, std::optional<Confirmation>* out) {
    *out = co_await c.agentConfirm(std::move(preview));
}

EmailRecipient person(const char* name, const char* address) {
    return {.name = QString::fromUtf8(name), .address = QString::fromUtf8(address)};
}

ActionPreview mail(EmailDraft draft) {
    ActionPreview p;
    p.symbol = QStringLiteral("envelope.fill");
    p.title = QStringLiteral("Novo e-mail");
    p.email = std::move(draft);
    p.alternateLabel = QStringLiteral("Abrir no Mail");
    return p;
}

// The card drawn over the pill's dark glass, for a person to look at.
void screenshot(QWidget& card, const QString& name) {
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    card.resize(460,
                card.heightForWidth(460) > 0 ? card.heightForWidth(460) : card.sizeHint().height());
    QImage image(card.size() + QSize(48, 48), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0x1c, 0x1a, 0x24));
    QPainter p(&image);
    card.render(&p, QPoint(24, 24), QRegion(), QWidget::DrawChildren);
    p.end();
    image.save(dir + QStringLiteral("/composer-") + name + QStringLiteral(".png"));
}

class Composer : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(ContactStore::defaultRoot()).removeRecursively();
        writeFile(ContactStore::defaultRoot() + QStringLiteral("/dora.vcf"),
                  "BEGIN:VCARD\nN:Reis;Dora;;;\nEMAIL:dora@reis.com\nEMAIL:dora@casa.org\n"
                  "END:VCARD\n");
    }
    void TearDown() override { QDir(ContactStore::defaultRoot()).removeRecursively(); }

    // Asks for the confirmation of `draft` and shows the card the pill would show for it.
    EmailComposerView& confirm(EmailDraft draft) {
        asked = ask(rig.controller(), mail(std::move(draft)), &answer);
        card = std::make_unique<ConfirmCard>(*state.pendingAction(), state, access);
        card->resize(460, 520);
        card->show();
        card->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(card.get()));
        card->takeFocus();
        EXPECT_NE(card->composer(), nullptr);
        return *card->composer();
    }
    // Lets every transition of the card come to rest.
    void settle() {
        rig.advance(1500);
        QCoreApplication::processEvents();
    }
    RecipientChip* chip(RecipientField* field, int index) {
        const auto chips = field->chips();
        return index < chips.size() ? chips[index] : nullptr;
    }
    static void finish(QLineEdit* field, const QString& text) {
        field->setFocus();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    test::VoiceRig rig{test::RecordedSpeech::goForwardPath()};
    AppState& state = rig.state();
    ControllerAccess access = [this]() -> VoiceController& { return rig.controller(); };
    std::optional<QCoro::Task<>> asked;
    std::optional<Confirmation> answer;
    std::unique_ptr<ConfirmCard> card;
};

} // namespace

TEST_F(Composer, TakesTheWholeConfirmCardAndShowsTheDraft) {
    state.setLastRequest(QStringLiteral("responda à Ana que eu vou"));
    EmailDraft draft{.to = {person("Ana Lima", "ana@x.com")},
                     .cc = {person("", "caio@x.com")},
                     .subject = QStringLiteral("Re: Festa"),
                     .body = QStringLiteral("Eu vou!"),
                     .replyToID = QStringLiteral("7")};
    EmailComposerView& c = confirm(draft);
    EmailDraft withOriginal = state.emailDraft();
    withOriginal.original = EmailSummary{.sender = QStringLiteral("Ana Lima <ana@x.com>"),
                                         .subject = QStringLiteral("Festa"),
                                         .date = QStringLiteral("10/12/2026"),
                                         .snippet = QStringLiteral("Oi! ").repeated(80)};
    state.setEmailDraft(withOriginal);

    EXPECT_EQ(card->confirmButton(), nullptr);
    EXPECT_EQ(card->editor(), nullptr);
    EXPECT_EQ(c.title()->text(), QStringLiteral("Responder e-mail"));
    EXPECT_EQ(c.request()->text(), QStringLiteral("“responda à Ana que eu vou”"));
    EXPECT_EQ(c.senderText()->text(), QStringLiteral("Conta padrão do Mail"));
    EXPECT_TRUE(c.senderText()->isVisible());
    EXPECT_FALSE(c.senderPicker()->isVisible());
    // A draft that arrives with copy recipients shows their row and no "Cc" button.
    EXPECT_TRUE(c.ccRow()->isVisible());
    EXPECT_FALSE(c.ccButton()->isVisible());
    EXPECT_EQ(c.subject()->text(), QStringLiteral("Re: Festa"));
    EXPECT_EQ(c.body()->toPlainText(), QStringLiteral("Eu vou!"));
    EXPECT_FALSE(c.warning()->isVisible());
    EXPECT_TRUE(c.sendButton()->isEnabled());
    ASSERT_NE(chip(c.toField(), 0), nullptr);
    EXPECT_EQ(chip(c.toField(), 0)->avatar()->text(), QStringLiteral("AL"));
    EXPECT_FALSE(chip(c.toField(), 0)->addressField()->isVisible());

    // The quoted message folds to two lines and unfolds to eight with a click.
    ASSERT_NE(c.original(), nullptr);
    settle();
    const int lines = c.original()->snippet()->fontMetrics().lineSpacing();
    EXPECT_EQ(c.original()->snippet()->maximumHeight(), 2 * lines);
    QTest::mouseClick(c.original(), Qt::LeftButton);
    rig.advance(100);
    EXPECT_GT(c.original()->snippet()->maximumHeight(), 2 * lines) << "on its way";
    EXPECT_LT(c.original()->snippet()->maximumHeight(), 8 * lines);
    settle();
    EXPECT_EQ(c.original()->snippet()->maximumHeight(), 8 * lines);
    screenshot(*card, QStringLiteral("resposta"));
    QTest::mouseClick(c.original(), Qt::LeftButton);
    settle();
    EXPECT_EQ(c.original()->snippet()->maximumHeight(), 2 * lines);

    // Two accounts give the picker, default first; choosing it writes "".
    state.setMailAccounts({QStringLiteral("eu@casa.org"), QStringLiteral("eu@empresa.com")});
    EXPECT_TRUE(c.senderPicker()->isVisible());
    ASSERT_EQ(c.senderPicker()->count(), 3);
    EXPECT_EQ(c.senderPicker()->itemText(0), QStringLiteral("Conta padrão"));
    c.senderPicker()->setCurrentIndex(2);
    Q_EMIT c.senderPicker()->activated(2);
    EXPECT_EQ(state.emailDraft().from, QStringLiteral("eu@empresa.com"));
    c.senderPicker()->setCurrentIndex(0);
    Q_EMIT c.senderPicker()->activated(0);
    EXPECT_EQ(state.emailDraft().from, QString());
}

TEST_F(Composer, AChipTakesItsAddressOnlyOnceFinishedAndCanBeEditedAgain) {
    EmailComposerView& c = confirm({.to = {person("Beatriz", "")}});
    EXPECT_EQ(c.warning()->fullText(), QStringLiteral("Falta o e-mail de Beatriz"));
    EXPECT_FALSE(c.sendButton()->isEnabled());
    RecipientChip* bia = chip(c.toField(), 0);
    ASSERT_NE(bia, nullptr);
    QLineEdit* field = bia->addressField();
    EXPECT_TRUE(field->isVisible());
    EXPECT_EQ(field->placeholderText(), QStringLiteral("e-mail"));
    EXPECT_TRUE(field->hasFocus()) << "the first field to complete has the keyboard";
    settle();
    screenshot(*card, QStringLiteral("falta-email"));

    // Typing alone changes nothing of the draft.
    QTest::keyClicks(field, QStringLiteral("bia@empresa."));
    EXPECT_EQ(state.emailDraft().to[0].address, QString());
    // Finished half-typed, it is kept but not taken as complete: the field stays.
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(state.emailDraft().to[0].address, QStringLiteral("bia@empresa."));
    EXPECT_TRUE(field->isVisible());
    EXPECT_FALSE(c.sendButton()->isEnabled());
    EXPECT_EQ(state.stage(), Stage::confirming) << "Return in a field never sends";

    // Completed and finished with Tab, it turns into text.
    QTest::keyClicks(field, QStringLiteral("com.br"));
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(state.emailDraft().to[0].address, QStringLiteral("bia@empresa.com.br"));
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(bia->addressButton()->text(), QStringLiteral("bia@empresa.com.br"));
    EXPECT_FALSE(c.warningMotion().isAppearing()) << "the warning fades away";
    settle();
    EXPECT_FALSE(c.warning()->isVisible());
    EXPECT_TRUE(c.sendButton()->isEnabled());

    // A shown address opens for editing again.
    QTest::mouseClick(bia->addressButton(), Qt::LeftButton);
    EXPECT_TRUE(field->isVisible());
    EXPECT_EQ(field->text(), QStringLiteral("bia@empresa.com.br"));
    field->selectAll();
    finish(field, QStringLiteral("bia@casa.org"));
    EXPECT_EQ(state.emailDraft().to[0].address, QStringLiteral("bia@casa.org"));
    EXPECT_FALSE(field->isVisible());

    // A draft change that comes while the person types leaves their text alone.
    QTest::mouseClick(bia->addressButton(), Qt::LeftButton);
    field->setFocus();
    field->setText(QStringLiteral("bia@outra"));
    EmailDraft meanwhile = state.emailDraft();
    meanwhile.subject = QStringLiteral("Oi");
    state.setEmailDraft(meanwhile);
    EXPECT_EQ(field->text(), QStringLiteral("bia@outra"));

    QTest::mouseClick(bia->removeButton(), Qt::LeftButton);
    EXPECT_TRUE(state.emailDraft().to.empty());
    EXPECT_EQ(c.warning()->fullText(), QStringLiteral("Sem destinatário"));
    EXPECT_EQ(c.toField()->entry()->placeholderText(), QStringLiteral("nome ou e-mail"));
}

TEST_F(Composer, TheToAndCcFieldsAddRecipientsAndLookNamesUp) {
    EmailComposerView& c = confirm({.to = {}});
    QLineEdit* to = c.toField()->entry();

    // Blanks are ignored and left in the field.
    finish(to, QStringLiteral("   "));
    EXPECT_TRUE(state.emailDraft().to.empty());
    EXPECT_EQ(to->text(), QStringLiteral("   "));
    to->clear();

    finish(to, QStringLiteral("Caio Prado <caio@x.com>"));
    ASSERT_EQ(state.emailDraft().to.size(), 1u);
    EXPECT_EQ(state.emailDraft().to[0].name, QStringLiteral("Caio Prado"));
    EXPECT_EQ(state.emailDraft().to[0].address, QStringLiteral("caio@x.com"));
    EXPECT_EQ(to->text(), QString());
    EXPECT_EQ(to->placeholderText(), QString());
    EXPECT_EQ(state.stage(), Stage::confirming);

    // A bare name is looked up in the contacts; two addresses give a choice.
    finish(to, QStringLiteral("Dora"));
    ASSERT_EQ(state.emailDraft().to.size(), 2u);
    ASSERT_TRUE(test::spinUntil([&] { return state.emailDraft().to[1].isValid(); }, 5000));
    EXPECT_EQ(state.emailDraft().to[1].address, QStringLiteral("dora@reis.com"));
    settle();
    RecipientChip* dora = chip(c.toField(), 1);
    ASSERT_NE(dora, nullptr);
    ASSERT_NE(dora->addressButton()->menu(), nullptr);
    const auto choices = dora->addressButton()->menu()->actions();
    ASSERT_EQ(choices.size(), 2);
    choices[1]->trigger();
    EXPECT_EQ(state.emailDraft().to[1].address, QStringLiteral("dora@casa.org"));
    EXPECT_EQ(state.emailDraft().to[1].alternatives.size(), 2);
    // The chosen address fades in over the old one, the width following them.
    EXPECT_TRUE(dora->addressChange().isRunning());
    ASSERT_NE(dora->addressChange().leaving(), nullptr);
    rig.advance(51);
    QCoreApplication::processEvents();
    screenshot(*card, QStringLiteral("endereco-trocando"));
    settle();
    EXPECT_FALSE(dora->addressChange().isRunning());
    EXPECT_FALSE(dora->addressWidth().isRunning());
    EXPECT_EQ(dora->addressButton()->width(), dora->addressButton()->sizeHint().width());
    EXPECT_EQ(dora->addressButton()->text(), QStringLiteral("dora@casa.org ▾"));

    // A name nobody knows stays without address, named by the warning; its look-up finding
    // nothing changes nothing, so there is no moment to wait for.
    finish(to, QStringLiteral("Zeca"));
    EXPECT_EQ(c.warning()->fullText(), QStringLiteral("Falta o e-mail de Zeca"));

    // Cc: asked for with its button; Return adds, blanks only clear the field.
    EXPECT_FALSE(c.ccRow()->isVisible());
    QTest::mouseClick(c.ccButton(), Qt::LeftButton);
    EXPECT_TRUE(c.ccRow()->isVisible());
    QLineEdit* cc = c.ccField()->entry();
    EXPECT_EQ(cc->placeholderText(), QStringLiteral("e-mail"));
    finish(cc, QStringLiteral("  "));
    EXPECT_TRUE(state.emailDraft().cc.empty());
    EXPECT_EQ(cc->text(), QString());
    finish(cc, QStringLiteral("eva@x.com"));
    ASSERT_EQ(state.emailDraft().cc.size(), 1u);
    EXPECT_EQ(state.emailDraft().cc[0].address, QStringLiteral("eva@x.com"));
    EXPECT_EQ(cc->placeholderText(), QString());
    settle();
    screenshot(*card, QStringLiteral("destinatarios"));
    // Removing the last copy recipient keeps the row that was asked for.
    QTest::mouseClick(chip(c.ccField(), 0)->removeButton(), Qt::LeftButton);
    EXPECT_TRUE(c.ccRow()->isVisible());
}

TEST_F(Composer, PiecesRiseInOneAfterAnotherChipsPopInAndOutAndTheCcRowComesDown) {
    FrameClock::shared().setReduceMotion(false);
    EmailComposerView& c =
        confirm({.to = {person("Ana", "ana@x.com")},
                 .original = EmailSummary{.sender = QStringLiteral("Ana <ana@x.com>"),
                                          .subject = QStringLiteral("Festa"),
                                          .snippet = QStringLiteral("Vem?")}});
    ASSERT_EQ(c.entrances().size(), 5);
    const auto progress = [&] {
        QList<double> out;
        for (WidgetTransition* t : c.entrances())
            out.append(t->progress());
        return out;
    };
    const auto pose = [&](int piece) {
        auto* effect = qobject_cast<MotionEffect*>(c.pieces()[piece]->graphicsEffect());
        return effect ? effect->pose() : MotionPose{};
    };
    EXPECT_EQ(progress(), QList<double>(5, 0.0));
    EXPECT_EQ(pose(4), (MotionPose{.opacity = 0, .offset = {0, 8}})) << "8 points low, unseen";
    // Each piece starts 0.05 s after the one above it.
    rig.advance(34);
    EXPECT_GT(progress()[0], 0);
    EXPECT_EQ(progress()[2], 0);
    rig.advance(85);
    EXPECT_GT(progress()[2], 0);
    EXPECT_EQ(progress()[4], 0);
    EXPECT_GT(progress()[0], progress()[2]);
    settle();
    EXPECT_EQ(progress(), QList<double>(5, 1.0));
    for (QWidget* piece : c.pieces())
        EXPECT_EQ(piece->graphicsEffect(), nullptr);

    // A chip added pops in from 0.7 of its size; a removed one shrinks away where it stood.
    finish(c.toField()->entry(), QStringLiteral("eva@x.com"));
    RecipientChip* eva = chip(c.toField(), 1);
    ASSERT_NE(eva, nullptr);
    auto* effect = qobject_cast<MotionEffect*>(eva->graphicsEffect());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->pose().scale, 0.7);
    settle();
    EXPECT_EQ(eva->graphicsEffect(), nullptr);
    QTest::mouseClick(chip(c.toField(), 0)->removeButton(), Qt::LeftButton);
    EXPECT_EQ(state.emailDraft().to.size(), 1u);
    ASSERT_EQ(c.toField()->leavingChips().size(), 1);
    RecipientChip* leaving = c.toField()->leavingChips()[0];
    EXPECT_TRUE(leaving->testAttribute(Qt::WA_TransparentForMouseEvents));
    rig.advance(85);
    ASSERT_NE(leaving->graphicsEffect(), nullptr);
    EXPECT_LT(qobject_cast<MotionEffect*>(leaving->graphicsEffect())->pose().scale, 1);
    settle();
    EXPECT_TRUE(c.toField()->leavingChips().isEmpty());
    EXPECT_EQ(c.toField()->chips(), QList<RecipientChip*>{eva});

    // The Cc row comes down under the "Para" row as it fades in.
    QTest::mouseClick(c.ccButton(), Qt::LeftButton);
    EXPECT_TRUE(c.ccRow()->isVisible());
    rig.advance(85);
    EXPECT_GT(c.ccMotion().progress(), 0);
    EXPECT_LT(c.ccMotion().progress(), 1);
    settle();
    EXPECT_EQ(c.ccMotion().progress(), 1);

    // The warning fades in.
    finish(c.toField()->entry(), QStringLiteral("Zeca"));
    EXPECT_TRUE(c.warning()->isVisible());
    rig.advance(51);
    EXPECT_LT(c.warningMotion().progress(), 1);
    settle();
    EXPECT_EQ(c.warningMotion().progress(), 1);
    screenshot(*card, QStringLiteral("movimento"));
}

TEST_F(Composer, WithReducedMotionTheCardIsThereAtOnce) {
    FrameClock::shared().setReduceMotion(true);
    EmailComposerView& c = confirm({.to = {person("Ana", "ana@x.com")}});
    for (WidgetTransition* t : c.entrances())
        EXPECT_EQ(t->progress(), 1);
    finish(c.toField()->entry(), QStringLiteral("eva@x.com"));
    EXPECT_EQ(chip(c.toField(), 1)->graphicsEffect(), nullptr);
    QTest::mouseClick(chip(c.toField(), 0)->removeButton(), Qt::LeftButton);
    EXPECT_TRUE(c.toField()->leavingChips().isEmpty());
    FrameClock::shared().setReduceMotion(false);
}

TEST_F(Composer, ButtonsAndKeysAnswerTheConfirmationWithTheEditedDraft) {
    enum class How { sendButton, ctrlReturn, openButton, cancelButton, escape };
    const struct {
        const char* name;
        How how;
        std::optional<Choice> choice;
    } cases[] = {
        {"Enviar", How::sendButton, Choice::approve},
        {"Ctrl+Return", How::ctrlReturn, Choice::approve},
        {"Abrir no Mail", How::openButton, Choice::alternate},
        {"Cancelar", How::cancelButton, Choice::decline},
        {"Escape", How::escape, Choice::decline},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        answer.reset();
        EmailComposerView& view =
            confirm({.to = {person("Ana", "ana@x.com")}, .subject = QStringLiteral("Oi")});
        view.subject()->setFocus();
        view.subject()->selectAll();
        QTest::keyClicks(view.subject(), QStringLiteral("Ola"));
        // Keys wait out the card's first moments.
        if (c.how == How::escape || c.how == How::ctrlReturn) {
            const auto key = c.how == How::escape ? Qt::Key_Escape : Qt::Key_Return;
            const auto mods = c.how == How::escape ? Qt::NoModifier : Qt::ControlModifier;
            QTest::keyClick(view.subject(), key, mods);
            // An answer taken would have left the desk at once.
            EXPECT_TRUE(rig.controller().hasPendingConfirmation());
            rig.advance(400);
            QTest::keyClick(view.subject(), key, mods);
        } else {
            GlassButton* b = c.how == How::sendButton   ? view.sendButton()
                             : c.how == How::openButton ? view.openButton()
                                                        : view.cancelButton();
            QTest::mouseClick(b, Qt::LeftButton);
        }
        ASSERT_TRUE(test::spinUntil([&] { return answer.has_value(); }, 3000));
        EXPECT_EQ(answer->choice, *c.choice);
        if (*c.choice != Choice::decline) {
            EXPECT_EQ(JSONValue(answer->edits).optional(QStringLiteral("subject")),
                      QStringLiteral("Ola"));
        }
        card.reset();
    }
}

TEST_F(Composer, SendingIsBarredWhileARecipientIsIncomplete) {
    EmailComposerView& c =
        confirm({.to = {person("Ana", "ana@x.com")}, .cc = {person("Caio", "")}});
    rig.advance(400);
    EXPECT_EQ(c.warning()->fullText(), QStringLiteral("Falta o e-mail de Caio"));
    EXPECT_FALSE(c.sendButton()->isEnabled());
    QTest::keyClick(c.body(), Qt::Key_Return, Qt::ControlModifier);
    QTest::mouseClick(c.sendButton(), Qt::LeftButton);
    // An answer taken would have left the desk at once.
    EXPECT_TRUE(rig.controller().hasPendingConfirmation());
    EXPECT_EQ(state.stage(), Stage::confirming);
}

// The whole road: the agent asks to send, the person fixes the recipient in the composer,
// and sendmail receives the fixed address.
class ComposerSends : public Composer {
protected:
    void SetUp() override {
        Composer::SetUp();
        ASSERT_TRUE(bin.isValid());
        path = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ':' + path);
        const QString fake = bin.path() + QStringLiteral("/sendmail");
        writeFile(fake, "#!/bin/sh\ncat > \"$0.input\"\n");
        QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Platform::install<MailTransport>(std::make_shared<SendmailTransport>(QStringList{}));
        AppSettings::shared().setConfirmActions(true);
    }
    void TearDown() override {
        qputenv("PATH", path);
        Platform::uninstall<MailTransport>();
        Composer::TearDown();
    }
    // A program on PATH that keeps what it was given, as "<name>.input" and "<name>.args".
    void fake(const char* name) {
        const QString path = bin.path() + u'/' + QLatin1String(name);
        writeFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\ncat > \"$0.input\"\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void reply(const QString& text, const std::vector<test::ScriptedModel::Call>& calls = {}) {
        rig.enqueueReply(test::HttpResponse::json(test::ScriptedModel::body(text, calls)));
    }

    QTemporaryDir bin;
    QByteArray path;
};

TEST_F(ComposerSends, TheEditedRecipientIsWhatSendmailReceives) {
    reply({}, {{QStringLiteral("c1"), QStringLiteral("send_email"),
                QStringLiteral(R"({"to":["Ana Lima <ana@empresa>"],"subject":"Almoço",)"
                               R"("body":"Vamos almoçar amanhã?"})")}});
    reply(QStringLiteral("Pronto, enviei."));
    rig.controller().submitTyped(QStringLiteral("mande um e-mail para a Ana"));
    ASSERT_TRUE(rig.waitForStage(Stage::confirming, 20000));
    ASSERT_TRUE(state.pendingAction() && state.pendingAction()->email);
    card = std::make_unique<ConfirmCard>(*state.pendingAction(), state, access);
    card->show();
    card->takeFocus();
    EmailComposerView* c = card->composer();
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->sendButton()->isEnabled()) << "the model's address has no domain";

    RecipientChip* ana = chip(c->toField(), 0);
    ASSERT_NE(ana, nullptr);
    ana->addressField()->selectAll();
    finish(ana->addressField(), QStringLiteral("ana.lima@empresa.com.br"));
    ASSERT_TRUE(c->sendButton()->isEnabled());
    QTest::mouseClick(c->sendButton(), Qt::LeftButton);

    const QString sent = bin.path() + QStringLiteral("/sendmail.input");
    ASSERT_TRUE(test::spinUntil([&] { return QFile::exists(sent); }, 20000));
    ASSERT_TRUE(test::spinUntil(
        [&] { return state.stage() == Stage::success || state.stage() == Stage::answer; }, 20000));
    QFile f(sent);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const MailMessage message = MailMessage::parse(f.readAll());
    EXPECT_EQ(message.header("To"), QByteArray("Ana Lima <ana.lima@empresa.com.br>"));
}

TEST_F(ComposerSends, OpeningInTheMailClientHandsItTheEditedDraft) {
    fake("xdg-email");
    reply({}, {{QStringLiteral("c1"), QStringLiteral("send_email"),
                QStringLiteral(R"({"to":["Ana Lima <ana@empresa>"],"subject":"Almoço",)"
                               R"("body":"Vamos?"})")}});
    reply(QStringLiteral("Abri no app de e-mail."));
    rig.controller().submitTyped(QStringLiteral("mande um e-mail para a Ana"));
    ASSERT_TRUE(rig.waitForStage(Stage::confirming, 20000));
    card = std::make_unique<ConfirmCard>(*state.pendingAction(), state, access);
    card->show();
    card->takeFocus();
    EmailComposerView* c = card->composer();
    ASSERT_NE(c, nullptr);
    RecipientChip* ana = chip(c->toField(), 0);
    ASSERT_NE(ana, nullptr);
    ana->addressField()->selectAll();
    finish(ana->addressField(), QStringLiteral("ana@empresa.com.br"));
    c->subject()->selectAll();
    QTest::keyClicks(c->subject(), QStringLiteral("Almoco de sexta"));
    QTest::mouseClick(c->openButton(), Qt::LeftButton);

    const QString args = bin.path() + QStringLiteral("/xdg-email.args");
    ASSERT_TRUE(test::spinUntil([&] { return QFile::exists(args); }, 20000));
    ASSERT_TRUE(test::spinUntil(
        [&] { return state.stage() == Stage::success || state.stage() == Stage::answer; }, 20000));
    QFile f(args);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString mailto = QString::fromUtf8(f.readAll()).trimmed();
    EXPECT_TRUE(mailto.startsWith(QStringLiteral("mailto:"))) << mailto.toStdString();
    EXPECT_TRUE(mailto.contains(QStringLiteral("ana@empresa.com.br"))) << mailto.toStdString();
    EXPECT_TRUE(mailto.contains(QStringLiteral("subject=Almoco%20de%20sexta")))
        << mailto.toStdString();
    EXPECT_FALSE(QFile::exists(bin.path() + QStringLiteral("/sendmail.input"))) << "not sent";
}
