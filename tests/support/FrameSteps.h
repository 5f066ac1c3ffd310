#pragma once

#include "support/fakes/ManualClock.h"
#include "ui/animation/FrameClock.h"

#include <gtest/gtest.h>

namespace nolvea::test {

// Motion driven frame by frame on a clock of the test's own, as the frame clock ticks.
class FrameSteps : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        FrameClock::shared().setReduceMotion(false);
    }
    void TearDown() override {
        FrameClock::shared().setReduceMotion(false);
        Clock::install(nullptr);
    }
    void run(int ms) {
        for (int t = 0; t < ms; t += FrameClock::kIntervalMs)
            clock.advance(std::chrono::milliseconds(FrameClock::kIntervalMs));
    }

    ManualClock clock;
};

} // namespace nolvea::test
