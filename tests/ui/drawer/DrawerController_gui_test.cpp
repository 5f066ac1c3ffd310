// The drawer's opening and closing with the pointer, the screens and the clock in hand.
#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "support/TestEnvironment.h"
#include "support/fakes/FakePointerSource.h"
#include "support/fakes/ManualClock.h"
#include "ui/drawer/HistoryDrawerController.h"
#include "ui/drawer/HistoryDrawerModel.h"
#include "ui/drawer/HistoryDrawerView.h"
#include "ui/overlay/OverlayPanel.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;
using namespace std::chrono_literals;

namespace {

const QRect kMain(0, 0, 1920, 1080);
const QRect kSecond(1920, 0, 1280, 1024);

class DrawerController : public ::testing::Test {
protected:
    DrawerController() {
        Clock::install(&clock);
        AppSettings::shared().setHistoryDrawerEnabled(true);
        pointer->moveTo({900, 500});
        controller = std::make_unique<HistoryDrawerController>(HistoryDrawerController::Options{
            .pointer = pointer,
            .history = &history,
            // A panel along the top of each screen, 32 high.
            .usableArea = [](const QRect& s) { return s.adjusted(0, 32, 0, 0); }});
    }
    ~DrawerController() override {
        controller.reset();
        Clock::install(nullptr);
        AppSettings::shared().setHistoryDrawerEnabled(true);
    }

    bool isOpen() const { return controller->model().isOpen(); }
    void advance(int ms) { clock.advance(std::chrono::milliseconds(ms)); }
    // Rests at the edge long enough to open.
    void dwellAt(QPoint p) {
        pointer->moveTo(p);
        advance(450);
    }

    ManualClock clock;
    QTemporaryDir dir;
    HistoryStore history{dir.path() + QStringLiteral("/history.json")};
    std::shared_ptr<test::FakePointerSource> pointer =
        std::make_shared<test::FakePointerSource>(QList<QRect>{kMain, kSecond});
    std::unique_ptr<HistoryDrawerController> controller;
};

} // namespace

TEST_F(DrawerController, RestingAtTheLeftEdgeAwayFromTheCornersOpensAfterTheDwell) {
    struct Case {
        const char* name;
        QPoint at;
        bool opens;
    };
    const Case cases[] = {
        {"middle of the edge", {0, 500}, true},
        {"one point in", {1, 500}, true},
        {"two points in", {2, 500}, false},
        {"40 points from the top", {0, 40}, false},
        {"40 points from the bottom", {0, 1040}, false},
        {"the second screen's edge", {1920, 500}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pointer->moveTo(c.at);
        advance(449);
        EXPECT_FALSE(isOpen());
        advance(1);
        EXPECT_EQ(isOpen(), c.opens);
        if (c.opens) {
            // On the screen under the pointer, from its usable top to its bottom.
            const QRect screen = c.at.x() >= 1920 ? kSecond : kMain;
            EXPECT_EQ(controller->panel().geometry(),
                      QRect(screen.x(), 32, 400, screen.height() - 32));
            EXPECT_TRUE(controller->panel().isVisible());
            EXPECT_FALSE(controller->panel().ignoresMouseEvents());
            controller->close();
            advance(500);
        }
        pointer->moveTo({900, 500});
    }
}

TEST_F(DrawerController, LeavingTheEdgeCancelsTheDwellAndComingBackStartsItAfresh) {
    pointer->moveTo({0, 500});
    advance(300);
    pointer->moveTo({30, 500});
    advance(300);
    EXPECT_FALSE(isOpen());
    pointer->moveTo({0, 600});
    advance(300);
    pointer->moveTo({0, 610}); // moving along the edge keeps the dwell it started
    advance(149);
    EXPECT_FALSE(isOpen());
    advance(1);
    EXPECT_TRUE(isOpen());
}

TEST_F(DrawerController, ADragAgainstTheEdgeOpensNothingUntilTheButtonIsLetGo) {
    pointer->setButtonHeld(true);
    dwellAt({0, 500});
    pointer->moveTo({0, 510});
    advance(1000);
    EXPECT_FALSE(isOpen());
    // Let go while resting there: the button is looked at again when the dwell ends.
    pointer->moveTo({0, 520});
    pointer->setButtonHeld(false);
    pointer->moveTo({0, 530});
    advance(449);
    EXPECT_FALSE(isOpen());
    advance(1);
    EXPECT_TRUE(isOpen());
    controller->close();
    advance(500);
    // A button pressed during the dwell keeps the drawer shut.
    pointer->moveTo({0, 500});
    advance(200);
    pointer->setButtonHeld(true);
    advance(250);
    EXPECT_FALSE(isOpen());
}

TEST_F(DrawerController, TheSettingTurnsTheEdgeOffButNotTheButtons) {
    EXPECT_TRUE(controller->isWatchingPointer());
    AppSettings::shared().setHistoryDrawerEnabled(false);
    EXPECT_FALSE(controller->isWatchingPointer()) << "nothing reads the pointer for nothing";
    dwellAt({0, 500});
    EXPECT_FALSE(isOpen());

    // A dwell already running when the setting goes off opens nothing.
    AppSettings::shared().setHistoryDrawerEnabled(true);
    pointer->moveTo({0, 400});
    advance(200);
    AppSettings::shared().setHistoryDrawerEnabled(false);
    advance(300);
    EXPECT_FALSE(isOpen());

    // Asked from the tray or the notch, it opens, and it watches the pointer while open.
    pointer->moveTo({900, 500});
    controller->open();
    EXPECT_TRUE(isOpen());
    EXPECT_TRUE(controller->isWatchingPointer());
    pointer->press({1500, 500});
    EXPECT_FALSE(isOpen());
    EXPECT_FALSE(controller->isWatchingPointer());
}

TEST_F(DrawerController, OpenedFromAButtonItWaitsForThePointerToComeOverItOnce) {
    pointer->moveTo({900, 500});
    controller->open();
    advance(2000);
    EXPECT_TRUE(isOpen()) << "the pointer has not been over it yet";
    pointer->moveTo({200, 500});
    advance(200);
    pointer->moveTo({405, 500}); // within 6 points of its edge counts as over it
    advance(1000);
    EXPECT_TRUE(isOpen());
    pointer->moveTo({407, 500});
    advance(399);
    EXPECT_TRUE(isOpen());
    pointer->moveTo({300, 500}); // back within the 0.4 s
    advance(1000);
    EXPECT_TRUE(isOpen());
    pointer->moveTo({900, 500});
    advance(399);
    EXPECT_TRUE(isOpen());
    advance(1);
    EXPECT_FALSE(isOpen());
    // Closing lets the panel take no clicks at once and leaves the screen 0.5 s later.
    EXPECT_TRUE(controller->panel().ignoresMouseEvents());
    EXPECT_TRUE(controller->panel().isVisible());
    advance(500);
    EXPECT_FALSE(controller->panel().isVisible());
}

TEST_F(DrawerController, APressOutsideClosesAndOneInsideOrAtItsMarginDoesNot) {
    dwellAt({0, 500});
    ASSERT_TRUE(isOpen());
    pointer->press({405, 500});
    pointer->press({100, 35});
    EXPECT_TRUE(isOpen());
    pointer->press({407, 500});
    EXPECT_FALSE(isOpen());
}

TEST_F(DrawerController, AMenuOpenedFromItKeepsItOpenWhereverItReaches) {
    dwellAt({0, 500});
    ASSERT_TRUE(isOpen());
    auto* field = controller->panel().findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    // A field's context menu, opened near the drawer's edge, reaches past it.
    auto* menu = new QMenu(field);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("Copiar"));
    menu->popup({390, 500});
    ASSERT_EQ(QApplication::activePopupWidget(), menu);
    pointer->moveTo({450, 505});
    advance(1000);
    EXPECT_TRUE(isOpen()) << "the pointer is on the menu";
    pointer->press({450, 505});
    EXPECT_TRUE(isOpen()) << "a press on the menu";
    menu->close();
    advance(1000);
    EXPECT_FALSE(isOpen()) << "the menu gone, the pointer is outside";
}

TEST_F(DrawerController, ReopeningWhileClosingKeepsThePanelAndClosingFoldsTheRowButKeepsTheSearch) {
    controller->open();
    controller->model().setQuery(QStringLiteral("bom"));
    controller->model().setExpandedID(QUuid::createUuid());
    controller->close();
    EXPECT_EQ(controller->model().expandedID(), std::nullopt);
    EXPECT_EQ(controller->model().query(), QStringLiteral("bom"));
    advance(300);
    controller->open();
    advance(1000);
    EXPECT_TRUE(controller->panel().isVisible());
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(controller->view().searchField()->text(), QStringLiteral("bom"));
}
