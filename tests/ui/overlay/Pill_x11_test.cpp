// The pill in the running desktop: a real window manager, another application in front, the
// voice controller driving the stages, keys and clicks through XTest, and what a screen
// reader finds through AT-SPI.
#include "agent/tools/ShortcutTools.h"
#include "core/AppSettings.h"
#include "platform/Platform.h"
#include "platform/linux/X11PanelWindowing.h"
#include "speech/VoiceController.h"
#include "support/Async.h"
#include "support/FrontApp.h"
#include "support/RecordedSpeech.h"
#include "support/ScriptedModel.h"
#include "support/TestEnvironment.h"
#include "support/VoiceRig.h"
#include "support/WindowManager.h"
#include "support/X11Keys.h"
#include "ui/animation/FrameClock.h"
#include "ui/components/DraftEditor.h"
#include "ui/components/GlassButton.h"
#include "ui/overlay/AnswerCard.h"
#include "ui/overlay/ConfirmCard.h"
#include "ui/overlay/OverlayController.h"
#include "ui/overlay/OverlayPanel.h"
#include "ui/overlay/PillPlacement.h"
#include "ui/overlay/PillView.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <atspi/atspi.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <future>

using namespace nolvea;
using Stage = AppState::Stage;
using Call = test::ScriptedModel::Call;

namespace {

// Read before the application starts: the pill's widgets are on the accessibility bus.
const bool kAccessible = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

// The pointer and its buttons, through XTest.
class Pointer {
public:
    Pointer()
        : m_display(XOpenDisplay(nullptr)) {}
    ~Pointer() {
        if (m_display) XCloseDisplay(m_display);
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
    Display* m_display;
};

struct AccessibleNode {
    QString role;
    QString name;
    bool showing = false;
    bool focused = false;
};

QString take(gchar* text) {
    const QString out = QString::fromUtf8(text ? text : "");
    g_free(text);
    return out;
}

void walk(AtspiAccessible* element, int depth, QList<AccessibleNode>& out) {
    if (depth > 40) return;
    AccessibleNode node{take(atspi_accessible_get_role_name(element, nullptr)),
                        take(atspi_accessible_get_name(element, nullptr))};
    if (AtspiStateSet* states = atspi_accessible_get_state_set(element)) {
        node.showing = atspi_state_set_contains(states, ATSPI_STATE_SHOWING);
        node.focused = atspi_state_set_contains(states, ATSPI_STATE_FOCUSED);
        g_object_unref(states);
    }
    out << node;
    const int count = atspi_accessible_get_child_count(element, nullptr);
    for (int i = 0; i < count; ++i)
        if (AtspiAccessible* child = atspi_accessible_get_child_at_index(element, i, nullptr)) {
            walk(child, depth + 1, out);
            g_object_unref(child);
        }
}

// What a screen reader finds of this process, read on another thread while this one keeps
// answering the reader's questions.
QList<AccessibleNode> accessibleNodes() {
    auto reading = std::async(std::launch::async, [pid = QCoreApplication::applicationPid()] {
        QList<AccessibleNode> nodes;
        static const bool ready = atspi_init() >= 0;
        if (!ready) return nodes;
        AtspiAccessible* desktop = atspi_get_desktop(0);
        const int apps = atspi_accessible_get_child_count(desktop, nullptr);
        for (int i = 0; i < apps; ++i) {
            AtspiAccessible* app = atspi_accessible_get_child_at_index(desktop, i, nullptr);
            if (!app) continue;
            if (atspi_accessible_get_process_id(app, nullptr) == guint(pid)) {
                atspi_accessible_clear_cache(app);
                walk(app, 0, nodes);
            }
            g_object_unref(app);
        }
        g_object_unref(desktop);
        return nodes;
    });
    test::spinUntil(
        [&] { return reading.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        60000);
    return reading.get();
}

QStringList showingNames(const QList<AccessibleNode>& nodes, const QString& role) {
    QStringList names;
    for (const AccessibleNode& n : nodes)
        if (n.showing && n.role == role) names << n.name;
    return names;
}

class PillX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(kAccessible);
        // The application in front first, then the window manager that takes it over. A
        // busy machine may be slow to bring the window up: one more try.
        for (int attempt = 0; attempt < 2 && !(front && front->isReady()); ++attempt)
            front = std::make_unique<test::FrontApp>();
        ASSERT_TRUE(front->isReady());
        openbox.emplace();
        ASSERT_TRUE(openbox->isRunning());
        windowing = std::make_shared<X11PanelWindowing>();
        Platform::install<PanelWindowing>(windowing);
        AppSettings::shared().setConfirmActions(true);
        AppSettings::shared().setOverlayStyle(OverlayStyle::pill);
        QFile::remove(marker());
        QDir().mkpath(ShortcutTools::folder());
        QFile script(ShortcutTools::folder() + QStringLiteral("/Marcar"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho feito > \"$HOME/marca\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        front->focus();
        // The window manager may hold back a focus the application asks for itself.
        test::spinUntil([&] { return windowing->focusWindow(front->windowId()); }, 5000);
        ASSERT_TRUE(frontHasKeyboard());
        pointer.moveTo({300, 200});
        overlay = std::make_unique<OverlayController>(
            rig.state(), [this]() -> VoiceController& { return rig.controller(); });
    }
    void TearDown() override {
        test::X11Keys::releaseAll();
        overlay.reset();
        openbox.reset();
        front.reset();
        Platform::uninstall<PanelWindowing>();
    }

    static QString marker() { return test::home() + QStringLiteral("/marca"); }

    OverlayPanel& panel() { return overlay->panel(); }
    PillView& view() { return overlay->view(); }

    bool frontHasKeyboard() {
        return test::spinUntil([&] { return windowing->hasFocusWithin(front->windowId()); }, 5000);
    }
    bool panelShown() {
        return test::spinUntil([&] { return panel().isVisible(); }, 5000);
    }
    // Where the panel is on the screen, as the X server has it.
    QRect onScreen() {
        Display* d = XOpenDisplay(nullptr);
        Window child = None;
        int x = 0, y = 0;
        XTranslateCoordinates(d, Window(panel().winId()), DefaultRootWindow(d), 0, 0, &x, &y,
                              &child);
        XCloseDisplay(d);
        return QRect(QPoint(x, y), panel().size());
    }
    // Qt learns the position back from the window manager a moment after the map: ask X.
    bool isAt(const QRect& frame) {
        const bool at = test::spinUntil([&] { return onScreen() == frame; }, 3000);
        if (!at) ADD_FAILURE() << "panel at " << onScreen().x() << "," << onScreen().y();
        return at;
    }
    // Where the panel belongs for the pointer at `at` on this display.
    static QRect expectedFrame(QPoint at) {
        QScreen* s = QGuiApplication::screenAt(at);
        return *PillPlacement::panelFrame(at, {{s->geometry(), s->availableGeometry()}}, {});
    }

    void reply(const QString& text, const std::vector<Call>& calls = {}, int delayMs = 0) {
        test::HttpResponse response =
            test::HttpResponse::json(test::ScriptedModel::body(text, calls));
        response.delayMs = delayMs;
        rig.enqueueReply(response);
    }
    void askToRunShortcut() {
        reply({}, {{QStringLiteral("c1"), QStringLiteral("run_shortcut"),
                    QStringLiteral(R"({"name":"Marcar","input":"texto"})")}});
        rig.controller().submitTyped(QStringLiteral("marque"));
        ASSERT_TRUE(rig.waitForStage(Stage::confirming));
        ASSERT_TRUE(panelShown());
        ASSERT_TRUE(test::spinUntil([&] { return panel().isKey(); }, 5000))
            << "the confirmation did not take the keyboard";
    }
    ConfirmCard* card() { return qobject_cast<ConfirmCard*>(view().content()); }
    // The rig's clock moves only when the test moves it, and the motion with it: let what is
    // under way end where it is going, as reduced motion does.
    static void settleMotion() {
        FrameClock::shared().setReduceMotion(true);
        FrameClock::shared().setReduceMotion(false);
    }

    // The screen under the panel as it shows now, and the panel's own drawing over a dark
    // desktop, for a person to look at.
    void screenshot(const QString& name) {
        settleMotion();
        // Drawn now, and on the screen once the server has done what it was sent.
        panel().repaint();
        QGuiApplication::sync();
        const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
        QDir().mkpath(dir);
        const QRect g = onScreen();
        QGuiApplication::primaryScreen()
            ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
            .save(dir + QStringLiteral("/pill-") + name + QStringLiteral(".png"));
        QImage composed(g.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&composed);
        QLinearGradient desk(0, 0, g.width(), g.height());
        desk.setColorAt(0, QColor(0x3a, 0x4a, 0x6a));
        desk.setColorAt(1, QColor(0x8a, 0x6a, 0x9a));
        p.fillRect(composed.rect(), desk);
        p.drawPixmap(0, 0, panel().grab());
        p.end();
        composed.save(dir + QStringLiteral("/pill-") + name + QStringLiteral("-desenho.png"));
    }

    std::optional<test::WindowManager> openbox;
    std::shared_ptr<X11PanelWindowing> windowing;
    Pointer pointer;
    test::VoiceRig rig{test::RecordedSpeech::goForwardPath()};
    std::unique_ptr<test::FrontApp> front;
    std::unique_ptr<OverlayController> overlay;
};

} // namespace

TEST_F(PillX11, ShowsUnderThePointerWithoutTheKeyboardAndHidesAfterIdle) {
    VoiceController& c = rig.controller();
    c.beginListening(VoiceMode::agent, false);
    rig.state().setHandsFree(true);
    ASSERT_EQ(rig.state().stage(), Stage::listening);
    ASSERT_TRUE(panelShown());
    EXPECT_TRUE(isAt(expectedFrame({300, 200})));
    EXPECT_TRUE(panel().ignoresMouseEvents());
    EXPECT_FALSE(panel().isKey());
    EXPECT_TRUE(frontHasKeyboard());
    EXPECT_TRUE(view().showsAgentDrop());
    EXPECT_TRUE(view().showsLockDrop());
    rig.state().setLiveText(QStringLiteral("qual é a previsão do tempo para amanhã"));
    screenshot(QStringLiteral("ouvindo"));

    // Back to idle and listening again within the pause: the pill stays where it was.
    QSignalSpy applied(overlay.get(), &OverlayController::stageApplied);
    const auto stageApplied = [&] {
        EXPECT_TRUE(test::spinUntil([&] { return applied.count() > 0; }));
        applied.clear();
    };
    c.cancelListening(false);
    rig.state().setHandsFree(false);
    stageApplied();
    rig.advance(599);
    EXPECT_TRUE(panel().isVisible());
    pointer.moveTo({1500, 300});
    c.beginListening(VoiceMode::dictation, false);
    stageApplied();
    rig.advance(600);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_TRUE(isAt(expectedFrame({300, 200})));

    c.cancelListening(false);
    stageApplied();
    rig.advance(599);
    EXPECT_TRUE(panel().isVisible());
    rig.advance(1);
    EXPECT_TRUE(test::spinUntil([&] { return !panel().isVisible(); }, 2000));

    // Shown again, it goes under the pointer where it is now.
    c.beginListening(VoiceMode::dictation, false);
    ASSERT_TRUE(panelShown());
    EXPECT_TRUE(isAt(expectedFrame({1500, 300})));
    c.cancelListening(false);
}

TEST_F(PillX11, ApprovesFromTheKeyboardOnlyAfterTheFirstMomentsAndHandsTheKeyboardBack) {
    askToRunShortcut();
    ASSERT_NE(card(), nullptr);
    EXPECT_FALSE(panel().ignoresMouseEvents());
    screenshot(QStringLiteral("confirmando"));

    const QList<AccessibleNode> nodes = accessibleNodes();
    const QStringList buttons = showingNames(nodes, QStringLiteral("push button"));
    EXPECT_TRUE(buttons.contains(QStringLiteral("Cancelar"))) << buttons.join(u',').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("Enviar"))) << buttons.join(u',').toStdString();
    EXPECT_FALSE(buttons.contains(QStringLiteral("Confirmar")));
    EXPECT_FALSE(buttons.contains(QString())) << "a button without a name";
    const QStringList labels = showingNames(nodes, QStringLiteral("label"));
    EXPECT_TRUE(labels.contains(QStringLiteral("Executar atalho")))
        << labels.join(u',').toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("Marcar")));
    // The keyboard is in the editor, where a screen reader says it is.
    const auto editor = std::find_if(nodes.begin(), nodes.end(), [](const AccessibleNode& n) {
        return n.name == QStringLiteral("Texto da ação");
    });
    ASSERT_NE(editor, nodes.end());
    EXPECT_TRUE(editor->focused);

    // Return typed at once breaks the line in the editor and decides nothing; neither does
    // Ctrl+Return before the card has been up for a moment.
    ASSERT_TRUE(test::X11Keys::tap("Return"));
    EXPECT_TRUE(test::spinUntil([&] { return rig.state().draftText().contains(u'\n'); }, 3000));
    test::X11Keys::press("Control_L");
    test::X11Keys::tap("Return");
    test::X11Keys::release("Control_L");
    QGuiApplication::sync(); // the keys sent are in and handled
    EXPECT_EQ(rig.state().stage(), Stage::confirming);

    rig.advance(400);
    test::X11Keys::press("Control_L");
    test::X11Keys::tap("Return");
    test::X11Keys::release("Control_L");
    ASSERT_TRUE(rig.waitForStage(Stage::success, 10000));
    EXPECT_TRUE(QFile::exists(marker()));
    EXPECT_TRUE(frontHasKeyboard()) << "the keyboard was not handed back";
    EXPECT_FALSE(panel().isKey());
    EXPECT_TRUE(panel().ignoresMouseEvents());
    screenshot(QStringLiteral("sucesso"));

    QSignalSpy applied(overlay.get(), &OverlayController::stageApplied);
    rig.advance(2200);
    ASSERT_EQ(rig.state().stage(), Stage::idle);
    ASSERT_TRUE(test::spinUntil([&] { return applied.count() > 0; }));
    rig.advance(600);
    EXPECT_TRUE(test::spinUntil([&] { return !panel().isVisible(); }, 2000));
}

TEST_F(PillX11, DeclinesWithAClickOnCancelar) {
    askToRunShortcut();
    ASSERT_NE(card(), nullptr);
    GlassButton* cancel = card()->cancelButton();
    settleMotion();
    pointer.click(cancel->mapToGlobal(cancel->rect().center()));
    ASSERT_TRUE(rig.waitForStage(Stage::error, 10000));
    EXPECT_EQ(rig.state().statusText(), QStringLiteral("Cancelado"));
    EXPECT_FALSE(QFile::exists(marker()));
    EXPECT_TRUE(frontHasKeyboard());
    screenshot(QStringLiteral("erro"));
}

TEST_F(PillX11, AnswerTakesClicksButLeavesTheKeyboardAlone) {
    reply(QStringLiteral("**Pronto.** Amanhã faz `28 °C` em [Recife](https://tempo.org/recife);\n"
                         "_leve_ brisa <b>à tarde</b>."),
          {}, 1500);
    rig.controller().submitTyped(QStringLiteral("qual é a previsão para amanhã em Recife?"));
    ASSERT_TRUE(rig.waitForStage(Stage::processing, 10000));
    ASSERT_TRUE(panelShown());
    screenshot(QStringLiteral("processando"));

    QSignalSpy applied(overlay.get(), &OverlayController::stageApplied);
    ASSERT_TRUE(rig.waitForStage(Stage::answer, 20000));
    ASSERT_TRUE(test::spinUntil([&] { return applied.count() > 0; }));
    EXPECT_FALSE(panel().ignoresMouseEvents());
    EXPECT_FALSE(panel().isKey());
    EXPECT_TRUE(frontHasKeyboard());
    screenshot(QStringLiteral("resposta"));

    const QList<AccessibleNode> nodes = accessibleNodes();
    const QStringList buttons = showingNames(nodes, QStringLiteral("push button"));
    EXPECT_TRUE(buttons.contains(QStringLiteral("Copiar"))) << buttons.join(u',').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("Fechar")));
    EXPECT_FALSE(buttons.contains(QString())) << "a button without a name";
    const QStringList labels = showingNames(nodes, QStringLiteral("label"));
    EXPECT_TRUE(labels.contains(
        QStringLiteral("Pronto. Amanhã faz 28 °C em Recife;\nleve brisa <b>à tarde</b>.")))
        << labels.join(u'|').toStdString();

    auto* answer = qobject_cast<AnswerCard*>(view().content());
    ASSERT_NE(answer, nullptr);
    settleMotion();
    pointer.click(answer->closeButton()->mapToGlobal(answer->closeButton()->rect().center()));
    EXPECT_TRUE(test::spinUntil([&] { return rig.state().stage() == Stage::idle; }, 5000));
    EXPECT_TRUE(frontHasKeyboard());
}
