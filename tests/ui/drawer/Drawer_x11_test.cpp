// The drawer on a real display with a window manager: the pointer moved through XTest and
// read back through the desktop-wide pointer source, and the list read through AT-SPI.
#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "platform/Platform.h"
#include "platform/linux/X11PanelWindowing.h"
#include "platform/linux/X11PointerSource.h"
#include "support/Async.h"
#include "support/AtspiTree.h"
#include "support/WindowManager.h"
#include "support/X11Keys.h"
#include "support/fakes/ManualClock.h"
#include "ui/drawer/HistoryDrawerController.h"
#include "ui/drawer/HistoryDrawerModel.h"
#include "ui/drawer/HistoryDrawerView.h"
#include "ui/overlay/OverlayPanel.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

using namespace nolvea;

namespace {

// Read before the application starts: the drawer's widgets are on the accessibility bus.
const bool kAccessible = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

// Counts the presses a window or widget receives.
class Presses : public QObject {
public:
    explicit Presses(QObject* target) { target->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) ++count;
        return false;
    }
};

class DrawerX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(kAccessible);
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        openbox.emplace();
        ASSERT_TRUE(openbox->isRunning());
        Platform::install<PanelWindowing>(std::make_shared<X11PanelWindowing>());
        Clock::install(&clock);
        AppSettings::shared().setHistoryDrawerEnabled(true);
        HistoryEntry older = HistoryEntry::make(HistoryEntry::Kind::dictation,
                                                QStringLiteral("Firefox"), QStringLiteral("oi"),
                                                QStringLiteral("Relatório enviado à diretoria"));
        older.date = clock.now().addDays(-1);
        history.add(older);
        HistoryEntry newer =
            HistoryEntry::make(HistoryEntry::Kind::agent, QString(),
                               QStringLiteral("que horas são"), QStringLiteral("São 14h."));
        newer.date = clock.now();
        history.add(newer);
        moveTo({900, 500});
        controller = std::make_unique<HistoryDrawerController>(
            HistoryDrawerController::Options{.pointer = pointer, .history = &history});
    }
    void TearDown() override {
        test::X11Keys::releaseAll();
        controller.reset();
        Clock::install(nullptr);
        Platform::uninstall<PanelWindowing>();
        openbox.reset();
        if (display) XCloseDisplay(display);
    }

    void moveTo(QPoint at) {
        XTestFakeMotionEvent(display, DefaultScreen(display), at.x(), at.y(), CurrentTime);
        XSync(display, False);
        test::spinUntil([&] { return pointer->position() == at; }, 3000);
    }
    void click(QPoint at) {
        moveTo(at);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XSync(display, False);
    }
    // Clicks at `at` until `received` holds: a window just shown may not be mapped yet, and a
    // press before then lands on what was there.
    bool clickUntil(const std::function<QPoint()>& at, const std::function<bool()>& received) {
        return test::spinUntil(
            [&] {
                click(at());
                return test::spinUntil(received, 1000);
            },
            15000);
    }
    // Whether the top window under the pointer is `w`'s, as the X server stacks them.
    bool pointerOver(const QWidget& w) const {
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned int mask = 0;
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                      &mask);
        // Up from the window to the root's child: the window manager's frame around it.
        Window top = w.winId();
        for (;;) {
            Window parent = 0, *children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(display, top, &root, &parent, &children, &count)) return false;
            if (children) XFree(children);
            if (parent == root) break;
            top = parent;
        }
        return child == top;
    }
    bool isOpen() const { return controller->model().isOpen(); }

    Display* display = nullptr;
    std::optional<test::WindowManager> openbox;
    ManualClock clock;
    QTemporaryDir dir;
    HistoryStore history{dir.path() + QStringLiteral("/history.json")};
    std::shared_ptr<X11PointerSource> pointer = std::make_shared<X11PointerSource>();
    std::unique_ptr<HistoryDrawerController> controller;
};

} // namespace

TEST_F(DrawerX11, RestingAtTheEdgeOpensItAClickElsewhereClosesIt) {
    moveTo({0, 500});
    ASSERT_TRUE(test::spinUntil([&] { return controller->isDwelling(); }, 3000))
        << "the edge was not seen";
    clock.advance(std::chrono::milliseconds(450));
    ASSERT_TRUE(isOpen());
    OverlayPanel& panel = controller->panel();
    ASSERT_TRUE(test::spinUntil([&] { return panel.isVisible(); }, 3000));

    // What a screen reader finds: the rows by what they say, the buttons by name.
    QStringList elements;
    test::spinUntil(
        [&] {
            elements = test::atspiElements(QCoreApplication::applicationPid());
            return elements.join(u'\n').contains(QStringLiteral("que horas são"));
        },
        5000);
    const QString tree = elements.join(u'\n');
    EXPECT_TRUE(tree.contains(QStringLiteral("que horas são"))) << tree.toStdString();
    EXPECT_TRUE(tree.contains(QStringLiteral("Relatório enviado à diretoria")))
        << tree.toStdString();
    EXPECT_TRUE(tree.contains(QStringLiteral("|Fechar"))) << tree.toStdString();
    EXPECT_TRUE(tree.contains(QStringLiteral("|Buscar no histórico"))) << tree.toStdString();

    // A press inside keeps it; a press on the desktop far from it closes it.
    int presses = 0;
    const auto seen = pointer->watch([&](const PointerSource::Event& e) {
        if (e.kind == PointerSource::Event::Kind::pressed) ++presses;
    });
    Presses inPanel(&panel);
    click({200, 600});
    ASSERT_TRUE(test::spinUntil([&] { return presses == 1 && inPanel.count == 1; }, 5000))
        << "the press was not seen";
    EXPECT_TRUE(isOpen());
    click({1200, 500});
    ASSERT_TRUE(test::spinUntil([&] { return !isOpen(); }, 3000));
    clock.advance(std::chrono::milliseconds(500));
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(DrawerX11, TypingInTheSearchKeepsItOpenAfterThePointerLeaves) {
    controller->open();
    QLineEdit* search = controller->view().searchField();
    OverlayPanel& panel = controller->panel();
    // The field takes clicks once the panel is on screen with its input area laid out.
    const auto fieldTakesClicks = [&] {
        const QPoint center = search->mapTo(&panel, search->rect().center());
        return panel.isVisible() && panel.drawnRegion().contains(center);
    };
    ASSERT_TRUE(test::spinUntil(fieldTakesClicks, 3000));
    ASSERT_TRUE(clickUntil([&] { return search->mapToGlobal(search->rect().center()); },
                           [&] { return panel.isKey(); }))
        << "the search field did not take the keyboard";
    ASSERT_TRUE(test::X11Keys::tap("r"));
    ASSERT_TRUE(test::spinUntil([&] { return controller->model().query() == u"r"; }, 3000));

    moveTo({1200, 500});
    clock.advance(std::chrono::milliseconds(2000));
    EXPECT_TRUE(isOpen());
    // Emptied in the field itself: a key sent through the server may repeat on a busy machine.
    search->selectAll();
    QTest::keyClick(search, Qt::Key_Backspace);
    ASSERT_TRUE(test::spinUntil([&] { return controller->model().query().isEmpty(); }, 3000));
    clock.advance(std::chrono::milliseconds(200)); // the poll sees the empty field
    clock.advance(std::chrono::milliseconds(400));
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(panel.isKey());
}

TEST_F(DrawerX11, AClickInAnotherOfOurWindowsClosesItToo) {
    // Without XInput 2.1 the desktop-wide source only polls the pointer and reports no press:
    // a display it cannot reach puts it in that mode.
    const std::shared_ptr<PointerSource> sources[] = {
        pointer, std::make_shared<X11PointerSource>(QByteArrayLiteral(":987"))};
    const struct {
        Qt::WindowFlags flags;
        bool typing;
    } cases[] = {
        {Qt::Window, false},
        {Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint, false},
        {Qt::Window, true},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source == pointer ? "presses seen desktop-wide" : "pointer polled only");
        controller = std::make_unique<HistoryDrawerController>(
            HistoryDrawerController::Options{.pointer = source, .history = &history});
        for (const auto& c : cases) {
            SCOPED_TRACE(int(c.flags));
            SCOPED_TRACE(c.typing);
            controller->open();
            OverlayPanel& panel = controller->panel();
            ASSERT_TRUE(test::spinUntil([&] { return panel.isVisible(); }, 3000));
            if (c.typing) {
                QLineEdit* search = controller->view().searchField();
                ASSERT_TRUE(clickUntil([&] { return search->mapToGlobal(search->rect().center()); },
                                       [&] { return panel.isKey(); }));
            }
            QWidget other(nullptr, c.flags);
            other.setWindowTitle(QStringLiteral("Outra janela"));
            other.setGeometry(900, 300, 300, 200);
            other.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
            // Pressed only once the window is on top there, so the press is ours.
            moveTo(other.geometry().center());
            ASSERT_TRUE(test::spinUntil([&] { return pointerOver(other); }, 5000))
                << "our window never came on top under the pointer";
            Presses inOther(other.windowHandle());
            click(other.geometry().center());
            ASSERT_TRUE(test::spinUntil([&] { return inOther.count > 0; }, 5000))
                << "the press never reached our window";
            EXPECT_TRUE(test::spinUntil([&] { return !isOpen(); }, 3000))
                << "a press in our own window did not close the drawer";
            clock.advance(std::chrono::milliseconds(600));
        }
    }
}
