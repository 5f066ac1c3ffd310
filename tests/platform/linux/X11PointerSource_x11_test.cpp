// The desktop pointer as XTest moves it on the test display: moves and presses reach the
// watchers on the main thread, and nothing is heard once the last watch is dropped.
#include "platform/linux/X11PointerSource.h"
#include "support/Async.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <memory>
#include <vector>

using namespace nolvea;
using Kind = PointerSource::Event::Kind;

namespace {

class X11PointerSourceTest : public ::testing::Test {
protected:
    X11PointerSourceTest()
        : m_display(XOpenDisplay(nullptr)) {}
    ~X11PointerSourceTest() override {
        if (m_display) XCloseDisplay(m_display);
    }
    void SetUp() override { ASSERT_NE(m_display, nullptr); }

    void moveTo(QPoint at) {
        XTestFakeMotionEvent(m_display, DefaultScreen(m_display), at.x(), at.y(), CurrentTime);
        XSync(m_display, False);
    }
    void click(unsigned int button = 1) {
        XTestFakeButtonEvent(m_display, button, True, CurrentTime);
        XTestFakeButtonEvent(m_display, button, False, CurrentTime);
        XSync(m_display, False);
    }
    // Waits until a source of its own has heard a move made after everything sent so far: by
    // then whatever was sent before has reached every source that listens.
    void settle() {
        X11PointerSource probe;
        const QPoint mark(613, 427); // where no test moves to
        bool heard = false;
        auto watch = probe.watch([&](const auto& e) { heard = heard || e.position == mark; });
        moveTo(mark);
        ASSERT_TRUE(test::spinUntil([&] { return heard; }, 5000));
    }

    Display* m_display;
};

TEST_F(X11PointerSourceTest, movesAndPressesReachEveryWatcherUntilTheWatchIsDropped) {
    X11PointerSource source;
    moveTo({10, 10});
    settle();
    EXPECT_FALSE(source.isWatched());

    std::vector<PointerSource::Event> first, second;
    auto watchA = source.watch([&](const auto& e) { first.push_back(e); });
    auto watchB = source.watch([&](const auto& e) { second.push_back(e); });
    ASSERT_TRUE(source.listensToRawEvents());

    moveTo({300, 200});
    ASSERT_TRUE(test::spinUntil(
        [&] { return !first.empty() && first.back().position == QPoint(300, 200); }, 5000));
    EXPECT_EQ(first.back().kind, Kind::moved);
    EXPECT_EQ(source.position(), QPoint(300, 200));

    click();
    ASSERT_TRUE(test::spinUntil(
        [&] { return !second.empty() && second.back().kind == Kind::pressed; }, 5000));
    EXPECT_EQ(second.back().position, QPoint(300, 200));

    watchA.reset();
    const auto heardByB = second.size();
    first.clear();
    moveTo({50, 60});
    ASSERT_TRUE(test::spinUntil([&] { return second.size() > heardByB; }, 5000));
    EXPECT_TRUE(first.empty());

    watchB.reset();
    EXPECT_FALSE(source.isWatched());
    EXPECT_FALSE(source.listensToRawEvents());
    second.clear();
    moveTo({70, 80});
    click();
    settle();
    EXPECT_TRUE(second.empty());
}

// A press is the left or the right button: a step of the wheel or the middle button, say
// while scrolling another window, is none.
TEST_F(X11PointerSourceTest, onlyTheLeftAndRightButtonsPress) {
    X11PointerSource source;
    std::vector<PointerSource::Event> presses;
    auto watch = source.watch([&](const auto& e) {
        if (e.kind == Kind::pressed) presses.push_back(e);
    });
    ASSERT_TRUE(source.listensToRawEvents());
    moveTo({200, 150});
    for (unsigned int button : {4u, 5u, 6u, 7u, 2u, 3u})
        click(button);
    // Heard in order: once the right button's press is here, the others were passed over.
    ASSERT_TRUE(test::spinUntil([&] { return !presses.empty(); }, 5000));
    EXPECT_EQ(presses.size(), 1u);
    click(1);
    ASSERT_TRUE(test::spinUntil([&] { return presses.size() == 2; }, 5000));
    EXPECT_EQ(presses.back().position, QPoint(200, 150));
}

// The notch and the drawer watch and stop again and again; a listener may drop its own watch
// from within its call, and a watch may outlive the source.
TEST_F(X11PointerSourceTest, watchingAgainAfterAStopAndDroppingFromWithin) {
    auto source = std::make_unique<X11PointerSource>();
    for (int round = 0; round < 2; ++round) {
        std::unique_ptr<PointerSource::Watch> watch;
        int heard = 0;
        watch = source->watch([&](const auto&) {
            ++heard;
            watch.reset();
        });
        moveTo({100 + round * 10, 100});
        ASSERT_TRUE(test::spinUntil([&] { return watch == nullptr; }, 5000)) << round;
        moveTo({400, 400 + round});
        click();
        settle();
        EXPECT_EQ(heard, 1) << round;
        EXPECT_FALSE(source->isWatched());
    }

    auto outliving = source->watch([](const auto&) {});
    source.reset();
    outliving.reset(); // nothing left to tell
}

TEST_F(X11PointerSourceTest, screensAreTheDesktopsScreens) {
    X11PointerSource source;
    QList<QRect> expected;
    for (const QScreen* screen : QGuiApplication::screens())
        expected << screen->geometry();
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(source.screens(), expected);
}

} // namespace
