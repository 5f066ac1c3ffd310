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
    click({200, 600});
    test::spinUntil([] { return false; }, 200);
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
    test::spinUntil([] { return false; }, 200); // the window manager maps it
    click(search->mapToGlobal(search->rect().center()));
    ASSERT_TRUE(test::spinUntil([&] { return panel.isKey(); }, 5000))
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
    const struct {
        Qt::WindowFlags flags;
        bool typing;
    } cases[] = {
        {Qt::Window, false},
        {Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint, false},
        {Qt::Window, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.flags));
        SCOPED_TRACE(c.typing);
        controller->open();
        OverlayPanel& panel = controller->panel();
        ASSERT_TRUE(test::spinUntil([&] { return panel.isVisible(); }, 3000));
        if (c.typing) {
            QLineEdit* search = controller->view().searchField();
            test::spinUntil([] { return false; }, 300);
            click(search->mapToGlobal(search->rect().center()));
            ASSERT_TRUE(test::spinUntil([&] { return panel.isKey(); }, 5000));
        }
        QWidget other(nullptr, c.flags);
        other.setWindowTitle(QStringLiteral("Outra janela"));
        other.setGeometry(900, 300, 300, 200);
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
        test::spinUntil([] { return false; }, 200); // the window manager maps it
        click(other.geometry().center());
        EXPECT_TRUE(test::spinUntil([&] { return !isOpen(); }, 3000))
            << "a press in our own window did not close the drawer";
        clock.advance(std::chrono::milliseconds(600));
    }
}
