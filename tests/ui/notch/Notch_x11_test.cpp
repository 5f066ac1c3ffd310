// The notch island on the running desktop: a window manager, another client's window under
// the island, the real desktop pointer moved through XTest, the voice controller driving the
// cards, and what a screen reader finds through AT-SPI.
#include "agent/tools/ShortcutTools.h"
#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "platform/Platform.h"
#include "platform/linux/X11PanelWindowing.h"
#include "platform/linux/X11PointerSource.h"
#include "speech/VoiceController.h"
#include "support/Async.h"
#include "support/AtspiTree.h"
#include "support/RecordedSpeech.h"
#include "support/ScriptedModel.h"
#include "support/SpeechServerScript.h"
#include "support/TestEnvironment.h"
#include "support/VoiceRig.h"
#include "support/WindowManager.h"
#include "support/X11Keys.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/components/MarkdownText.h"
#include "ui/composer/EmailComposerView.h"
#include "ui/notch/NotchAnswerCard.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchField.h"
#include "ui/notch/NotchHoverPanel.h"
#include "ui/notch/NotchResultCard.h"
#include "ui/notch/NotchView.h"
#include "ui/notch/NotchWorkingCard.h"
#include "ui/overlay/ConfirmCard.h"
#include "ui/overlay/OverlayPanel.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using Kind = NotchPresentation::Kind;
using Call = test::ScriptedModel::Call;

namespace {

// Read before the application starts: the island's widgets are on the accessibility bus.
const bool kAccessible = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

// What the microphone hears: a second of silence, so a follow-up listening stays empty and the
// answer can be called back.
QString silence() {
    const QString path = QDir::temp().filePath(QStringLiteral("nolvea-notch-silence.raw"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(16000 * 2, '\0'));
    return path;
}

// Another client's window across the top of the screen, under the island.
class OtherClient {
public:
    OtherClient() {
        m_display = XOpenDisplay(nullptr);
        if (!m_display) return;
        XSetWindowAttributes a{};
        a.event_mask = ButtonPressMask | StructureNotifyMask;
        a.background_pixel = WhitePixel(m_display, DefaultScreen(m_display));
        const int width = DisplayWidth(m_display, DefaultScreen(m_display));
        m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), 0, 0, width, 600, 0,
                                 CopyFromParent, InputOutput, CopyFromParent,
                                 CWEventMask | CWBackPixel, &a);
        XMapRaised(m_display, m_window);
        XSync(m_display, False);
        waitFor(MapNotify);
    }
    ~OtherClient() {
        if (!m_display) return;
        XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }
    Window window() const { return m_window; }
    Window focus() {
        Window f = None;
        int revert = 0;
        XGetInputFocus(m_display, &f, &revert);
        return f;
    }
    void takeFocus() {
        XSetInputFocus(m_display, m_window, RevertToParent, CurrentTime);
        XSync(m_display, False);
    }
    void drain() {
        XSync(m_display, False);
        XEvent e;
        while (XCheckTypedWindowEvent(m_display, m_window, ButtonPress, &e)) {
        }
    }
    bool waitFor(int type, int ms = 3000) {
        return test::spinUntil(
            [&] {
                XEvent e;
                return XCheckTypedWindowEvent(m_display, m_window, type, &e) == True;
            },
            ms);
    }
    bool contains(QPoint at) {
        Window child = None;
        int x = 0, y = 0;
        XTranslateCoordinates(m_display, DefaultRootWindow(m_display), m_window, at.x(), at.y(), &x,
                              &y, &child);
        XWindowAttributes attrs{};
        XGetWindowAttributes(m_display, m_window, &attrs);
        return x >= 0 && y >= 0 && x < attrs.width && y < attrs.height;
    }
    void moveTo(QPoint at) {
        XTestFakeMotionEvent(m_display, DefaultScreen(m_display), at.x(), at.y(), CurrentTime);
        XSync(m_display, False);
        test::spinUntil([&] { return QCursor::pos() == at; }, 2000);
    }
    void click(QPoint at) {
        moveTo(at);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XSync(m_display, False);
    }

private:
    Display* m_display = nullptr;
    Window m_window = 0;
};

class NotchX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(kAccessible);
        openbox.emplace();
        ASSERT_TRUE(openbox->isRunning());
        other = std::make_unique<OtherClient>();
        windowing = std::make_shared<X11PanelWindowing>();
        Platform::install<PanelWindowing>(windowing);
        Platform::install<PointerSource>(std::make_shared<X11PointerSource>());
        AppSettings::shared().setConfirmActions(true);
        AppSettings::shared().setOverlayStyle(OverlayStyle::notch);
        QDir().mkpath(ShortcutTools::folder());
        QFile script(ShortcutTools::folder() + QStringLiteral("/Marcar"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho feito > \"$HOME/marca\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        other->takeFocus();
        ASSERT_TRUE(test::spinUntil([&] { return other->focus() == other->window(); }, 5000));
        other->moveTo({40, 500});
        notch = std::make_unique<NotchController>(
            rig.state(), [this]() -> VoiceController& { return rig.controller(); });
        notch->setEnabled(true);
        ASSERT_TRUE(test::spinUntil([&] { return panel().isVisible(); }, 5000));
        ASSERT_TRUE(test::spinUntil(
            [&] { return panel().windowHandle() && panel().windowHandle()->isExposed(); }, 5000));
    }
    void TearDown() override {
        test::X11Keys::releaseAll();
        notch.reset();
        other.reset();
        openbox.reset();
        Platform::uninstall<PointerSource>();
        Platform::uninstall<PanelWindowing>();
    }

    OverlayPanel& panel() { return notch->panel(); }
    NotchView& view() { return notch->view(); }

    // The pointer rests on the island long enough to open the hover panel.
    void hoverIsland() {
        other->moveTo(notch->islandRect().center());
        ASSERT_TRUE(test::spinUntil([&] { return notch->hover().pending().has_value(); }, 3000));
        rig.advance(120);
        ASSERT_TRUE(test::spinUntil([&] { return view().presentation() == Kind::hover; }, 3000));
        settleLayout();
    }
    bool waitFor(Kind kind) {
        const bool reached = test::spinUntil([&] { return view().presentation() == kind; }, 10000);
        settleLayout();
        return reached;
    }
    // A card just made is laid out once the island has its new size, and the island has come
    // to rest: its motion runs on the rig's clock, a frame at a time, until twice in a row
    // nothing is left to move.
    void settleLayout() {
        int still = 0;
        EXPECT_TRUE(test::spinUntil([&] {
            rig.advance(17);
            QCoreApplication::processEvents();
            still = atRest() ? still + 1 : 0;
            return still >= 2;
        })) << "the island did not come to rest";
    }
    bool atRest() {
        const NotchView& v = view();
        if (v.islandFrame().size() != notch->model().islandSize() || v.leavingCard()) return false;
        auto* effect =
            v.card() ? qobject_cast<TransitionEffect*>(v.card()->graphicsEffect()) : nullptr;
        return !effect || effect->look().isIdentity();
    }
    template <typename Card> Card* card() { return qobject_cast<Card*>(view().card()); }

    QStringList accessible() { return test::atspiElements(QCoreApplication::applicationPid()); }

    void reply(const QString& text, const std::vector<Call>& calls = {}) {
        rig.enqueueReply(test::HttpResponse::json(test::ScriptedModel::body(text, calls)));
    }

    // The island as it shows on the screen, and drawn over a plain desktop.
    void screenshot(const QString& name) {
        // Everything drawn so far is on the screen once the display server has answered.
        panel().repaint();
        if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
            XSync(x11->display(), False);
        const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
        QDir().mkpath(dir);
        const QRect g = panel().geometry();
        QGuiApplication::primaryScreen()
            ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
            .save(dir + QStringLiteral("/notch-") + name + QStringLiteral(".png"));
        QImage composed(g.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&composed);
        QLinearGradient desk(0, 0, g.width(), g.height());
        desk.setColorAt(0, QColor(0xd8, 0xdc, 0xe6));
        desk.setColorAt(1, QColor(0x8a, 0x9a, 0xba));
        p.fillRect(composed.rect(), desk);
        p.drawPixmap(0, 0, panel().grab());
        p.end();
        composed.save(dir + QStringLiteral("/notch-") + name + QStringLiteral("-desenho.png"));
    }

    std::optional<test::WindowManager> openbox;
    std::unique_ptr<OtherClient> other;
    std::shared_ptr<X11PanelWindowing> windowing;
    test::VoiceRig rig{silence()};
    std::unique_ptr<NotchController> notch;
};

} // namespace

TEST_F(NotchX11, PointerOpensTheHoverPanelLeavingClosesItAndClicksBesideGoThrough) {
    EXPECT_EQ(view().presentation(), Kind::compact);
    EXPECT_TRUE(panel().ignoresMouseEvents());
    screenshot(QStringLiteral("compacta"));

    HistoryStore::shared().add(
        HistoryEntry::make(HistoryEntry::Kind::agent, "Editor", "marque reunião amanhã", "Feito."));
    hoverIsland();
    EXPECT_FALSE(panel().ignoresMouseEvents());
    auto* hover = card<NotchHoverPanel>();
    ASSERT_NE(hover, nullptr);
    screenshot(QStringLiteral("painel"));
    const QStringList elements = accessible();
    EXPECT_TRUE(elements.contains(QStringLiteral("text|Digite ou segure a tecla para falar")) ||
                elements.contains(QStringLiteral("text|Digite ou segure fn para falar")))
        << elements.join(u'\n').toStdString();
    EXPECT_TRUE(elements.contains(QStringLiteral("push button|Ajustes")))
        << elements.join(u'\n').toStdString();
    EXPECT_TRUE(elements.contains(QStringLiteral("push button|marque reunião amanhã")));

    // Leaving closes it after the pause, and the island lets clicks through again.
    const QRect island = notch->islandRect();
    const QPoint beside(island.right() + 60, island.bottom() + 40);
    ASSERT_TRUE(panel().geometry().contains(beside));
    other->moveTo({40, 500});
    ASSERT_TRUE(test::spinUntil([&] { return notch->hover().pending() == false; }, 3000));
    rig.advance(450);
    EXPECT_TRUE(waitFor(Kind::compact));
    ASSERT_TRUE(other->contains(beside));
    other->drain();
    other->click(beside);
    EXPECT_TRUE(other->waitFor(ButtonPress)) << "a click beside the island did not go through";
}

// A typed request takes the keyboard from the application in front while it is typed, and
// gives it back; one the controller cannot take stays in the field with the reason.
TEST_F(NotchX11, TypedRequestTakesTheKeyboardAndGivesItBack) {
    hoverIsland();
    auto* hover = card<NotchHoverPanel>();
    ASSERT_NE(hover, nullptr);
    QLineEdit* field = hover->field()->edit();
    other->click(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(test::spinUntil([&] { return panel().isKey() && field->hasFocus(); }, 5000));
    ASSERT_TRUE(test::X11Keys::tap("o"));
    ASSERT_TRUE(test::X11Keys::tap("i"));
    ASSERT_TRUE(test::spinUntil([&] { return notch->model().typedText() == "oi"; }, 3000));
    EXPECT_TRUE(notch->isEditing());

    // Busy: the request stays, with the reason.
    rig.state().setStage(Stage::processing);
    ASSERT_TRUE(test::X11Keys::tap("Return"));
    ASSERT_TRUE(test::spinUntil([&] { return hover->problem()->isVisible(); }, 3000));
    EXPECT_EQ(hover->problem()->text(), "Aguarde o fim do pedido em andamento.");
    EXPECT_EQ(field->text(), "oi");
    rig.state().setStage(Stage::idle);

    // Taken: the field empties, the island closes and the keyboard goes back.
    reply(QStringLiteral("Olá! Em que posso ajudar?"));
    ASSERT_TRUE(test::X11Keys::tap("Return"));
    EXPECT_TRUE(test::spinUntil([&] { return other->focus() == other->window(); }, 5000));
    EXPECT_TRUE(notch->model().typedText().isEmpty());
    EXPECT_EQ(rig.state().lastRequest(), "oi");
    ASSERT_TRUE(rig.waitForStage(Stage::answer));
    ASSERT_TRUE(waitFor(Kind::answer));
    rig.controller().dismissAnswer();

    // Escape closes the panel and hands the keyboard back, without sending anything.
    other->moveTo({40, 500});
    other->moveTo(notch->islandRect().center());
    hoverIsland();
    hover = card<NotchHoverPanel>();
    ASSERT_NE(hover, nullptr);
    field = hover->field()->edit();
    other->click(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(test::spinUntil([&] { return panel().isKey(); }, 5000));
    ASSERT_TRUE(test::X11Keys::tap("Escape"));
    EXPECT_TRUE(test::spinUntil([&] { return other->focus() == other->window(); }, 5000));
    EXPECT_TRUE(notch->hover().isSuppressed());
    EXPECT_EQ(view().presentation(), Kind::compact);
}

TEST_F(NotchX11, CardsFollowTheVoiceController) {
    VoiceController& c = rig.controller();

    // Working, while the pointer rests on the island during an agent request.
    hoverIsland();
    rig.state().setMode(VoiceMode::agent);
    rig.state().setStatusText(QStringLiteral("Lendo a agenda…"));
    rig.state().setToolSymbol(QStringLiteral("calendar"));
    rig.state().setStage(Stage::processing);
    ASSERT_TRUE(waitFor(Kind::working));
    ASSERT_NE(card<NotchWorkingCard>(), nullptr);
    EXPECT_EQ(card<NotchWorkingCard>()->progress()->text(), "Lendo a agenda…");
    screenshot(QStringLiteral("trabalhando"));
    rig.state().setToolSymbol(std::nullopt);
    rig.state().setStatusText({});
    rig.state().setStage(Stage::idle);
    other->moveTo({40, 500});
    ASSERT_TRUE(test::spinUntil([&] { return notch->hover().pending() == false; }, 3000));
    rig.advance(450);
    ASSERT_TRUE(waitFor(Kind::compact));

    // Confirm: the keyboard goes to the card at once, the pointer far away.
    reply({}, {{QStringLiteral("c1"), QStringLiteral("run_shortcut"),
                QStringLiteral(R"({"name":"Marcar","input":"texto"})")}});
    ASSERT_FALSE(c.submitTyped(QStringLiteral("marque")).has_value());
    ASSERT_TRUE(rig.waitForStage(Stage::confirming));
    ASSERT_TRUE(waitFor(Kind::confirm));
    ASSERT_NE(card<ConfirmCard>(), nullptr);
    EXPECT_TRUE(test::spinUntil([&] { return panel().isKey(); }, 5000));
    screenshot(QStringLiteral("confirmando"));
    QStringList elements = accessible();
    EXPECT_TRUE(elements.contains(QStringLiteral("push button|Cancelar")))
        << elements.join(u'\n').toStdString();
    EXPECT_TRUE(elements.contains(QStringLiteral("label|Executar atalho")))
        << elements.join(u'\n').toStdString();

    // Result: the action ran.
    c.resolveConfirmation(true);
    ASSERT_TRUE(test::spinUntil(
        [&] {
            return rig.state().stage() == Stage::success || rig.state().stage() == Stage::answer;
        },
        20000));
    if (rig.state().stage() == Stage::success) {
        ASSERT_TRUE(waitFor(Kind::result));
        ASSERT_NE(card<NotchResultCard>(), nullptr);
        EXPECT_EQ(card<NotchResultCard>()->status()->text(), rig.state().statusText());
        screenshot(QStringLiteral("resultado"));
    }
    EXPECT_TRUE(test::spinUntil([&] { return !panel().isKey(); }, 5000));

    // Answer: its buttons and its reply field, read as a screen reader reads them.
    c.dismissAnswer();
    rig.advance(3000);
    reply(QStringLiteral("Amanhã às **10h** você tem a reunião com a equipe."));
    ASSERT_FALSE(c.submitTyped(QStringLiteral("o que tenho amanhã?")).has_value());
    ASSERT_TRUE(rig.waitForStage(Stage::answer));
    ASSERT_TRUE(waitFor(Kind::answer));
    auto* answer = card<NotchAnswerCard>();
    ASSERT_NE(answer, nullptr);
    screenshot(QStringLiteral("resposta"));
    elements = accessible();
    for (const char* name :
         {"push button|Fechar", "push button|Copiar", "push button|Nova conversa"})
        EXPECT_TRUE(elements.contains(QString::fromUtf8(name)))
            << name << "\n"
            << elements.join(u'\n').toStdString();
    EXPECT_TRUE(elements.contains(QStringLiteral("text|Responder… ou segure a tecla e fale")) ||
                elements.contains(QStringLiteral("text|Responder… ou segure fn e fale")))
        << elements.join(u'\n').toStdString();
    EXPECT_TRUE(answer->answer()->plainText().contains("10h"));

    // A reply is typed into the field and sent as a follow-up.
    QLineEdit* field = answer->reply()->edit();
    settleLayout();
    other->click(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(test::spinUntil([&] { return panel().isKey() && field->hasFocus(); }, 5000));
    ASSERT_TRUE(test::X11Keys::tap("e"));
    reply(QStringLiteral("Depois, nada."));
    ASSERT_TRUE(test::X11Keys::tap("Return"));
    EXPECT_TRUE(test::spinUntil([&] { return rig.state().lastRequest() == "e"; }, 5000));
    EXPECT_TRUE(notch->model().replyText().isEmpty());
    ASSERT_TRUE(rig.waitForStage(Stage::answer));
    answer = card<NotchAnswerCard>();
    ASSERT_TRUE(waitFor(Kind::answer));
    // Off the island: the hover panel it opened while the reply was typed closes.
    other->moveTo({40, 500});
    if (notch->model().isHovering()) {
        ASSERT_TRUE(test::spinUntil([&] { return notch->hover().pending() == false; }, 3000));
        rig.advance(450);
    }
    c.dismissAnswer();
    EXPECT_TRUE(waitFor(Kind::compact));
}

// A click in another application takes the keyboard from the answer's reply field.
TEST_F(NotchX11, AClickElsewhereTakesTheKeyboardFromTheAnswer) {
    VoiceController& c = rig.controller();
    reply(QStringLiteral("São 15h."));
    ASSERT_FALSE(c.submitTyped(QStringLiteral("que horas são?")).has_value());
    ASSERT_TRUE(rig.waitForStage(Stage::answer));
    ASSERT_TRUE(waitFor(Kind::answer));
    auto* answer = card<NotchAnswerCard>();
    ASSERT_NE(answer, nullptr);
    EXPECT_FALSE(panel().isKey()); // the answer does not take it by itself
    QLineEdit* field = answer->reply()->edit();
    settleLayout();
    other->click(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(test::spinUntil([&] { return panel().isKey(); }, 5000));
    other->click({40, 500});
    EXPECT_TRUE(test::spinUntil([&] { return !panel().isKey(); }, 5000));
    c.dismissAnswer();
}

// The presentations no request reaches here: listening with its glow, and an e-mail to review.
TEST_F(NotchX11, ListeningGlowsAndAnEmailIsReviewedInTheComposer) {
    rig.state().setMode(VoiceMode::agent);
    rig.state().setLevels({0.2f, 0.7f});
    rig.state().setStage(Stage::listening);
    ASSERT_TRUE(waitFor(Kind::listening));
    EXPECT_GT(notch->islandRect().width(), notch->model().geometry().notchSize.width() + 108);
    screenshot(QStringLiteral("ouvindo"));
    rig.state().setStage(Stage::idle);
    ASSERT_TRUE(waitFor(Kind::compact));

    ActionPreview action;
    action.symbol = QStringLiteral("envelope");
    action.title = QStringLiteral("Enviar e-mail");
    EmailDraft draft;
    EmailRecipient ana;
    ana.name = QStringLiteral("Ana");
    ana.address = QStringLiteral("ana@exemplo.com");
    draft.to = {ana};
    draft.subject = QStringLiteral("Reunião de amanhã");
    draft.body = QStringLiteral("Oi Ana,\n\nConfirmo a reunião às 10h.\n\nAbraço");
    action.email = draft;
    rig.state().setEmailDraft(draft);
    rig.state().setPendingAction(action);
    rig.state().setStage(Stage::confirming);
    ASSERT_TRUE(waitFor(Kind::confirm));
    ASSERT_NE(card<ConfirmCard>(), nullptr);
    EXPECT_NE(card<ConfirmCard>()->composer(), nullptr);
    EXPECT_EQ(notch->islandRect().width(),
              NotchPresentation::islandWidth(Kind::confirm,
                                             notch->model().geometry().notchSize.width(), true));
    rig.advance(1500); // the composer's pieces rise into place
    screenshot(QStringLiteral("email"));
    rig.state().setPendingAction(std::nullopt);
    rig.state().setStage(Stage::idle);
}

// Switched to the pill, the island hides at once, listens no more and keeps nothing pending.
TEST_F(NotchX11, SwitchingOffStopsTheIslandAtOnce) {
    other->moveTo(notch->islandRect().center());
    ASSERT_TRUE(test::spinUntil([&] { return notch->hover().pending().has_value(); }, 3000));
    notch->setEnabled(false);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_FALSE(Platform::get<PointerSource>().isWatched());
    EXPECT_FALSE(notch->hover().pending().has_value());
    rig.advance(1000);
    EXPECT_FALSE(notch->model().isHovering());
}

// The follow-up path: after a spoken question the island listens; the pointer on the island
// calls the answer back, and a reply typed in its field goes to the voice controller.
TEST_F(NotchX11, ThePointerCallsTheAnswerBackAndATypedReplyFollowsUp) {
    AppSettings::shared().setSpeakAnswers(true);
    AppSettings::shared().setFollowUpMode(FollowUpMode::whenAsked);
    rig.speech().on("GET", QStringLiteral("/"), test::HttpResponse::text("ok"));
    rig.speech().on("POST", QStringLiteral("/v1/audio/speech"),
                    {200, {}, test::SpeechServerScript::espeakWav(QStringLiteral("Envio?"))});
    VoiceController& c = rig.controller();
    const QString question = QStringLiteral("Quer que eu envie o relatório?");
    reply(question);
    ASSERT_FALSE(c.submitTyped(QStringLiteral("prepare o relatório")).has_value());
    ASSERT_TRUE(rig.waitForStage(Stage::answer));
    ASSERT_TRUE(waitFor(Kind::answer));

    // Spoken, it listens for the reply without the key: the island glows, no card.
    ASSERT_TRUE(test::spinUntil([&] { return c.isFollowUpListening(); }, 30000));
    ASSERT_TRUE(waitFor(Kind::listening));
    EXPECT_EQ(view().card(), nullptr);

    // The pointer on the island brings the answer back, with its text.
    other->moveTo(notch->islandRect().center());
    ASSERT_TRUE(test::spinUntil([&] { return rig.state().stage() == Stage::answer; }, 5000));
    EXPECT_FALSE(c.isFollowUpListening());
    ASSERT_TRUE(waitFor(Kind::answer));
    auto* answer = card<NotchAnswerCard>();
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->answer()->plainText(), question);
    QStringList elements = accessible();
    EXPECT_TRUE(elements.contains(QStringLiteral("push button|Copiar")))
        << elements.join(u'\n').toStdString();

    // A reply typed into the field goes to the agent with the conversation so far.
    AppSettings::shared().setSpeakAnswers(false);
    reply(QStringLiteral("Enviado para a equipe."));
    QLineEdit* field = answer->reply()->edit();
    other->click(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(test::spinUntil([&] { return panel().isKey() && field->hasFocus(); }, 5000));
    for (const char* key : {"s", "i", "m"})
        ASSERT_TRUE(test::X11Keys::tap(key));
    ASSERT_TRUE(test::spinUntil([&] { return notch->model().replyText() == "sim"; }, 3000));
    ASSERT_TRUE(test::X11Keys::tap("Return"));
    EXPECT_TRUE(test::spinUntil([&] { return rig.state().lastRequest() == "sim"; }, 5000));
    EXPECT_TRUE(notch->model().replyText().isEmpty());
    ASSERT_TRUE(test::spinUntil(
        [&] { return rig.state().answerText() == QStringLiteral("Enviado para a equipe."); },
        20000));
    ASSERT_TRUE(waitFor(Kind::answer));
    answer = card<NotchAnswerCard>();
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->answer()->plainText(), "Enviado para a equipe.");
    bool withQuestion = false;
    for (const test::HttpRequest& r : rig.model().requests()) {
        const QString body = QString::fromUtf8(r.body);
        if (body.contains(QStringLiteral("sim")) && body.contains(question)) withQuestion = true;
    }
    EXPECT_TRUE(withQuestion) << "the reply went with the question it answers";
    other->moveTo({40, 500});
    c.dismissAnswer();
}
