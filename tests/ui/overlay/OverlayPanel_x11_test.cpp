#include "platform/Platform.h"
#include "platform/linux/X11PanelWindowing.h"
#include "support/Async.h"
#include "ui/overlay/OverlayPanel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

using namespace nolvea;

namespace {

// Another client's window under the panel, on its own X connection: the "application in
// front" whose keyboard focus the panel must leave alone.
class OtherClient {
public:
    OtherClient() {
        m_display = XOpenDisplay(nullptr);
        if (!m_display) return;
        XSetWindowAttributes a{};
        a.event_mask = ButtonPressMask | FocusChangeMask | StructureNotifyMask;
        a.background_pixel = WhitePixel(m_display, DefaultScreen(m_display));
        m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), 0, 0, 600, 500, 0,
                                 CopyFromParent, InputOutput, CopyFromParent,
                                 CWEventMask | CWBackPixel, &a);
        XMapRaised(m_display, m_window);
        XSync(m_display, False);
        waitFor(MapNotify);
        XSetInputFocus(m_display, m_window, RevertToParent, CurrentTime);
        XSync(m_display, False);
    }
    ~OtherClient() {
        if (!m_display) return;
        XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }
    bool ok() const { return m_display != nullptr; }
    Window window() const { return m_window; }

    Window focus() {
        Window f = None;
        int revert = 0;
        XGetInputFocus(m_display, &f, &revert);
        return f;
    }
    // Drops the events seen so far.
    void drain() {
        XSync(m_display, False);
        while (XPending(m_display)) {
            XEvent e;
            XNextEvent(m_display, &e);
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
    // A real pointer click at a screen position, through XTest.
    void click(QPoint at) {
        XTestFakeMotionEvent(m_display, DefaultScreen(m_display), at.x(), at.y(), CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XSync(m_display, False);
    }

private:
    Display* m_display = nullptr;
    Window m_window = 0;
};

// Counts the mouse presses that reach a widget.
struct PressCounter : QObject {
    explicit PressCounter(QWidget* target) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) ++presses;
        return false;
    }
    int presses = 0;
};

class OverlayPanelX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
        Platform::install<PanelWindowing>(std::make_shared<X11PanelWindowing>());
        ASSERT_TRUE(other.ok());
        ASSERT_TRUE(test::spinUntil([&] { return other.focus() == other.window(); }));

        auto* root = new QWidget;
        field = new QLineEdit(root);
        field->setGeometry(10, 10, 150, 30);
        label = new QLabel("Nolvea", root);
        label->setGeometry(10, 60, 150, 30);
        panel = std::make_unique<OverlayPanel>(QSize(300, 200), root);
        panel->move(100, 100);
    }
    void TearDown() override {
        panel.reset();
        Platform::uninstall<PanelWindowing>();
    }
    void showPanel() {
        panel->show();
        ASSERT_TRUE(test::spinUntil([&] { return panel->windowHandle() && panel->isVisible(); }));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->windowHandle()));
    }
    QPoint onScreen(QWidget* w, QPoint p = {5, 5}) { return w->mapToGlobal(p); }

    OtherClient other;
    QLineEdit* field = nullptr;
    QLabel* label = nullptr;
    std::unique_ptr<OverlayPanel> panel;
};

TEST_F(OverlayPanelX11, NewPanelIsHiddenClickThroughAndCannotBecomeKey) {
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(panel->ignoresMouseEvents());
    EXPECT_FALSE(panel->canBecomeKey());
    EXPECT_FALSE(panel->canBecomeMain());
    panel->setAllowsKey(true);
    EXPECT_TRUE(panel->canBecomeKey());
    EXPECT_FALSE(panel->canBecomeMain());
    EXPECT_TRUE(panel->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(panel->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(panel->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    // The content never sizes the panel.
    panel->root()->setMinimumSize(900, 900);
    panel->resize(300, 200);
    EXPECT_EQ(panel->size(), QSize(300, 200));
}

TEST_F(OverlayPanelX11, ShowsWithoutTakingTheKeyboardAndLetsClicksThrough) {
    showPanel();
    // On every desktop, for window managers that read it.
    Display* d = XOpenDisplay(nullptr);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(d, Window(panel->winId()), XInternAtom(d, "_NET_WM_DESKTOP", False), 0, 1,
                       False, AnyPropertyType, &type, &format, &count, &after, &data);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(quint32(*reinterpret_cast<long*>(data)), 0xFFFFFFFFu); // 32-bit items come as longs
    XFree(data);
    XCloseDisplay(d);

    EXPECT_EQ(other.focus(), other.window()) << "showing the panel took the keyboard";
    EXPECT_FALSE(panel->isKey());

    // Click-through while the controller says so: even the field's clicks reach the window
    // below.
    other.drain();
    other.click(onScreen(field));
    EXPECT_TRUE(other.waitFor(ButtonPress));

    // Taking the pointer: clicks on what is drawn stay in the panel, clicks on the clear rest
    // of it go through.
    panel->setIgnoresMouseEvents(false);
    other.drain();
    PressCounter onLabel(label);
    other.click(onScreen(label));
    EXPECT_TRUE(test::spinUntil([&] { return onLabel.presses == 1; }, 3000));
    EXPECT_FALSE(other.waitFor(ButtonPress, 300));

    other.click(panel->mapToGlobal(QPoint(250, 150)));
    EXPECT_TRUE(other.waitFor(ButtonPress)) << "a click beside the drawn area did not go through";
    EXPECT_EQ(other.focus(), other.window());
}

TEST_F(OverlayPanelX11, FieldTakesTheKeyboardOnlyWhenAllowedAndGivesItBack) {
    showPanel();
    panel->setIgnoresMouseEvents(false);

    // Not allowed: clicking the field leaves the keyboard where it was.
    PressCounter onField(field);
    other.click(onScreen(field));
    ASSERT_TRUE(test::spinUntil([&] { return onField.presses == 1; }));
    QGuiApplication::sync(); // whatever the press asked of the server is done
    EXPECT_EQ(other.focus(), other.window());
    EXPECT_FALSE(field->hasFocus());

    // Clicking a label does not take it even when allowed.
    panel->setAllowsKey(true);
    PressCounter onLabel(label);
    other.click(onScreen(label));
    ASSERT_TRUE(test::spinUntil([&] { return onLabel.presses == 1; }));
    QGuiApplication::sync();
    EXPECT_EQ(other.focus(), other.window());

    // Allowed: the field gets the keyboard and typing lands in it.
    other.click(onScreen(field));
    ASSERT_TRUE(test::spinUntil([&] { return panel->isKey() && field->hasFocus(); }));
    EXPECT_NE(other.focus(), other.window());

    // Withdrawn: the keyboard goes back to the window that had it.
    panel->setAllowsKey(false);
    EXPECT_TRUE(test::spinUntil([&] { return other.focus() == other.window(); }));
    EXPECT_FALSE(panel->isKey());

    // The same when the panel goes away while it has the keyboard.
    panel->setAllowsKey(true);
    other.click(onScreen(field));
    ASSERT_TRUE(test::spinUntil([&] { return panel->isKey(); }));
    panel->hide();
    EXPECT_TRUE(test::spinUntil([&] { return other.focus() == other.window(); }));
}

TEST_F(OverlayPanelX11, WithoutCompositorTheWindowIsCutToWhatIsDrawn) {
    X11PanelWindowing x11;
    ASSERT_TRUE(x11.isAvailable());
    EXPECT_FALSE(x11.compositorRunning()) << "Xvfb runs no compositor";
    panel->setDrawnRegion(QRegion(0, 0, 120, 40));
    showPanel();
    // Where the shape leaves nothing, the window below shows and takes the click, even though
    // the panel takes the pointer.
    panel->setIgnoresMouseEvents(false);
    other.drain();
    other.click(panel->mapToGlobal(QPoint(60, 80)));
    EXPECT_TRUE(other.waitFor(ButtonPress));
    EXPECT_EQ(panel->drawnRegion(), QRegion(0, 0, 120, 40));
}

} // namespace
