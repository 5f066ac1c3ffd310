// When the island's hover panel opens and closes, with the clock moved by hand and the
// pointer moved through the fake pointer source.
#include "core/AppState.h"
#include "platform/Platform.h"
#include "support/fakes/FakePointerSource.h"
#include "support/fakes/ManualClock.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchHover.h"
#include "ui/notch/NotchView.h"
#include "ui/overlay/OverlayPanel.h"

#include <gtest/gtest.h>

#include <vector>

using namespace nolvea;
using namespace std::chrono_literals;

namespace {

class NotchHoverTest : public ::testing::Test {
protected:
    NotchHoverTest()
        : hover({.editing = [this] { return editing; },
                 .pointerInside = [this] { return inside; },
                 .changed = [this](bool on) { changes.push_back(on); },
                 .track = [this] { ++ticks; }}) {
        Clock::install(&clock);
    }
    ~NotchHoverTest() override { Clock::install(nullptr); }

    void at(bool in) {
        inside = in;
        hover.step(in);
    }

    ManualClock clock;
    bool inside = false;
    bool editing = false;
    std::vector<bool> changes;
    int ticks = 0;
    NotchHover hover;
};

TEST_F(NotchHoverTest, opensAfterARestAndClosesAfterALeave) {
    at(true);
    clock.advance(119ms);
    EXPECT_FALSE(hover.isHovering());
    at(true); // the same change is already pending: the wait does not start again
    clock.advance(1ms);
    EXPECT_TRUE(hover.isHovering());
    EXPECT_EQ(changes, std::vector<bool>{true});

    clock.advance(600ms);
    EXPECT_EQ(ticks, 3); // the pointer is looked at every 0.2 s while open

    at(false);
    clock.advance(449ms);
    EXPECT_TRUE(hover.isHovering());
    clock.advance(1ms);
    EXPECT_FALSE(hover.isHovering());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    EXPECT_FALSE(hover.isTracking());
}

TEST_F(NotchHoverTest, quickCrossingsAndShortAbsencesChangeNothing) {
    at(true);
    clock.advance(80ms);
    at(false); // crossed in under 0.12 s
    clock.advance(1s);
    EXPECT_TRUE(changes.empty());

    at(true);
    clock.advance(120ms);
    at(false);
    clock.advance(300ms);
    at(true); // back within 0.45 s: no flicker
    clock.advance(1s);
    EXPECT_EQ(changes, std::vector<bool>{true});
}

TEST_F(NotchHoverTest, aCloseFallingDueLooksAgainAtPointerAndField) {
    at(true);
    clock.advance(120ms);
    at(false);
    inside = true; // came back without a step being seen
    clock.advance(450ms);
    EXPECT_TRUE(hover.isHovering());

    // Leaving with text in the focused field keeps it open; an empty one lets it close.
    editing = true;
    at(false);
    clock.advance(1s);
    EXPECT_TRUE(hover.isHovering());
    editing = false;
    at(false);
    clock.advance(450ms);
    EXPECT_FALSE(hover.isHovering());
}

TEST_F(NotchHoverTest, anExplicitCloseHoldsShutUntilThePointerLeft) {
    at(true);
    clock.advance(120ms);
    hover.close(true);
    EXPECT_FALSE(hover.isHovering());
    at(true);
    clock.advance(1s);
    EXPECT_FALSE(hover.isHovering());
    at(false); // left once
    at(true);
    clock.advance(120ms);
    EXPECT_TRUE(hover.isHovering());

    hover.close(false);
    EXPECT_FALSE(hover.isSuppressed());
    hover.collapse();
    at(true);
    clock.advance(120ms);
    EXPECT_TRUE(hover.isHovering()); // a sent request holds nothing shut
}

TEST_F(NotchHoverTest, resetForgetsPendingTrackingAndSuppression) {
    at(true);
    clock.advance(120ms);
    at(false);
    hover.reset();
    clock.advance(2s);
    EXPECT_FALSE(hover.isHovering());
    EXPECT_FALSE(hover.pending().has_value());
    EXPECT_EQ(clock.pendingTimers(), 0);
    EXPECT_EQ(ticks, 0);
}

// The controller over a fake desktop pointer: it listens only while on, opens the panel for a
// pointer resting on the island, and a switch to the pill stops everything at once.
class NotchControllerTest : public ::testing::Test {
protected:
    NotchControllerTest() {
        Clock::install(&clock);
        Platform::install<PointerSource>(pointer);
    }
    ~NotchControllerTest() override {
        Platform::uninstall<PointerSource>();
        Clock::install(nullptr);
    }

    ManualClock clock;
    std::shared_ptr<test::FakePointerSource> pointer = std::make_shared<test::FakePointerSource>();
    AppState state;
};

TEST_F(NotchControllerTest, hoversOnlyWhileOnAndForgetsItWhenSwitchedOff) {
    NotchController notch(state, []() -> VoiceController& {
        ADD_FAILURE() << "no voice controller call expected";
        std::abort();
    });
    const QRect island = notch.islandRect();
    ASSERT_FALSE(island.isEmpty());
    EXPECT_FALSE(pointer->isWatched());

    notch.setEnabled(true);
    EXPECT_TRUE(pointer->isWatched());
    EXPECT_EQ(notch.view().presentation(), NotchPresentation::Kind::compact);
    pointer->moveTo(island.center());
    clock.advance(120ms);
    EXPECT_TRUE(notch.model().isHovering());
    EXPECT_FALSE(notch.panel().ignoresMouseEvents());
    EXPECT_TRUE(notch.panel().allowsKey());
    EXPECT_EQ(notch.view().presentation(), NotchPresentation::Kind::hover);
    EXPECT_GT(notch.islandRect().width(), island.width()); // the island grew into the panel

    pointer->moveTo({5, 900});
    notch.setEnabled(false);
    EXPECT_FALSE(pointer->isWatched());
    EXPECT_FALSE(notch.model().isHovering());
    EXPECT_FALSE(notch.hover().pending().has_value());
    EXPECT_EQ(clock.pendingTimers(), 0);
    EXPECT_TRUE(notch.panel().ignoresMouseEvents());
    EXPECT_FALSE(notch.panel().allowsKey());
    pointer->moveTo(island.center());
    clock.advance(1s);
    EXPECT_FALSE(notch.model().isHovering());

    notch.setEnabled(true);
    pointer->moveTo(island.center() + QPoint(1, 0));
    clock.advance(120ms);
    EXPECT_TRUE(notch.model().isHovering());
}

} // namespace
