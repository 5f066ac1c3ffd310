// The composer in the pill on a real display: an agent turn that wants to send an e-mail
// puts it on screen whole, with the keyboard in the field to complete, as a screen reader
// finds it.
#include "core/AppSettings.h"
#include "platform/Platform.h"
#include "platform/linux/X11PanelWindowing.h"
#include "speech/VoiceController.h"
#include "support/Async.h"
#include "support/AtspiTree.h"
#include "support/RecordedSpeech.h"
#include "support/ScriptedModel.h"
#include "support/VoiceRig.h"
#include "support/WindowManager.h"
#include "ui/components/GlassButton.h"
#include "ui/composer/EmailComposerView.h"
#include "ui/composer/OriginalEmailView.h"
#include "ui/composer/RecipientChip.h"
#include "ui/composer/RecipientField.h"
#include "ui/overlay/ConfirmCard.h"
#include "ui/overlay/OverlayController.h"
#include "ui/overlay/OverlayPanel.h"
#include "ui/overlay/PillView.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;

namespace {

const bool kAccessible = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

class ComposerX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(kAccessible);
        openbox.emplace();
        ASSERT_TRUE(openbox->isRunning());
        Platform::install<PanelWindowing>(std::make_shared<X11PanelWindowing>());
        AppSettings::shared().setConfirmActions(true);
        AppSettings::shared().setOverlayStyle(OverlayStyle::pill);
        overlay = std::make_unique<OverlayController>(
            rig.state(), [this]() -> VoiceController& { return rig.controller(); });
    }
    void TearDown() override {
        overlay.reset();
        openbox.reset();
        Platform::uninstall<PanelWindowing>();
    }

    std::optional<test::WindowManager> openbox;
    test::VoiceRig rig{test::RecordedSpeech::goForwardPath()};
    std::unique_ptr<OverlayController> overlay;
};

} // namespace

TEST_F(ComposerX11, AnAgentTurnThatSendsAnEmailShowsTheComposerWholeInThePill) {
    rig.enqueueReply(test::HttpResponse::json(test::ScriptedModel::body(
        {}, {{QStringLiteral("c1"), QStringLiteral("send_email"),
              QStringLiteral(R"({"to":["Ana"],"cc":["caio@x.com"],"subject":"Almoço",)"
                             R"("body":"Vamos almoçar amanhã?\nBeijos"})")}})));
    rig.controller().submitTyped(QStringLiteral("mande um e-mail para a Ana"));
    ASSERT_TRUE(rig.waitForStage(Stage::confirming, 20000));
    OverlayPanel& panel = overlay->panel();
    ASSERT_TRUE(test::spinUntil([&] { return panel.isVisible(); }, 5000));
    auto* card = qobject_cast<ConfirmCard*>(overlay->view().content());
    ASSERT_NE(card, nullptr);
    EmailComposerView* composer = card->composer();
    ASSERT_NE(composer, nullptr);
    ASSERT_TRUE(test::spinUntil([&] { return panel.isKey(); }, 5000));

    // Nothing of it is cut off by the panel, once its pieces have risen into place and the
    // panel has taken its size.
    rig.advance(1500);
    const QList<QWidget*> parts{composer->title(), composer->senderText(), composer->sendButton(),
                                composer->openButton(), composer->body()};
    const auto allInside = [&] {
        for (QWidget* w : parts)
            if (!panel.rect().contains(QRect(w->mapTo(&panel, QPoint()), w->size()))) return false;
        return true;
    };
    test::spinUntil(allInside, 5000);
    for (QWidget* w : parts) {
        const QRect inPanel(w->mapTo(&panel, QPoint()), w->size());
        EXPECT_TRUE(panel.rect().contains(inPanel)) << w->accessibleName().toStdString();
    }
    // The keyboard waits in the address to complete.
    RecipientChip* ana = composer->toField()->chips().value(0);
    ASSERT_NE(ana, nullptr);
    EXPECT_TRUE(test::spinUntil([&] { return ana->addressField()->hasFocus(); }, 3000));

    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    const QRect g(panel.mapToGlobal(QPoint()), panel.size());
    QGuiApplication::primaryScreen()
        ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
        .save(dir + QStringLiteral("/pill-email.png"));

    // Answering a message, the quoted original joins it, and still all of it shows.
    EmailDraft reply = rig.state().emailDraft();
    reply.replyToID = QStringLiteral("7");
    reply.original =
        EmailSummary{.sender = QStringLiteral("Ana Lima <ana@empresa.com.br>"),
                     .subject = QStringLiteral("Almoço amanhã?"),
                     .date = QStringLiteral("10/12/2026 09:12"),
                     .snippet = QStringLiteral("Oi! Que tal almoçarmos amanhã? ").repeated(6)};
    rig.state().setEmailDraft(reply);
    rig.advance(1500);
    // Laid out anew: the quoted original has its room inside the panel.
    const auto originalInside = [&] {
        QWidget* o = composer->original();
        return o && o->isVisible() && o->height() > 0 &&
               panel.rect().contains(QRect(o->mapTo(&panel, QPoint()), o->size()));
    };
    test::spinUntil([&] { return originalInside() && allInside(); }, 5000);
    EXPECT_TRUE(originalInside());
    for (QWidget* w : parts) {
        const QRect inPanel(w->mapTo(&panel, QPoint()), w->size());
        EXPECT_TRUE(panel.rect().contains(inPanel))
            << "with the original: " << w->accessibleName().toStdString();
    }
    QGuiApplication::primaryScreen()
        ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
        .save(dir + QStringLiteral("/pill-email-resposta.png"));

    const QString tree = test::atspiElements(QCoreApplication::applicationPid()).join(u'\n');
    for (const char* name : {"Enviar", "Cancelar", "Abrir no Mail", "Assunto", "E-mail de Ana",
                             "Adicionar destinatário", "Remover caio@x.com", "Texto do e-mail"})
        EXPECT_TRUE(tree.contains(u'|' + QString::fromUtf8(name))) << name;
    EXPECT_TRUE(tree.contains(QStringLiteral("Falta o e-mail de Ana"))) << tree.toStdString();
    rig.controller().resolveConfirmation(false);
}
