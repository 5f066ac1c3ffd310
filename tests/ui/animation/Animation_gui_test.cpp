#include "support/Clock.h"
#include "support/FrameSteps.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/KeyframeTrack.h"
#include "ui/animation/SpringValue.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/BrandMark.h"
#include "ui/components/ShimmerText.h"
#include "ui/components/Theme.h"
#include "ui/components/WaveformView.h"

#include <QDir>
#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

double settleTime(const SpringSpec& spec) {
    SpringValue s(0, spec);
    s.retarget(1);
    double t = 0;
    while (s.advance(0.001))
        t += 0.001;
    return t;
}

TEST(SpringValue, ReachesItsTargetAndShorterResponsesSettleSooner) {
    for (const auto* spec : {&Theme::snappy(), &Theme::morph(), &Theme::gentle()}) {
        SpringValue s(0, *spec);
        s.retarget(10);
        s.advance(5);
        EXPECT_TRUE(s.isSettled());
        EXPECT_EQ(s.value(), 10);
    }
    EXPECT_LT(settleTime(Theme::snappy()), settleTime(Theme::morph()));
    EXPECT_LT(settleTime(Theme::morph()), settleTime(Theme::gentle()));
    // An underdamped spring overshoots a little; a critically damped one does not.
    SpringValue under(0, Theme::morph());
    under.retarget(1);
    double peak = 0;
    for (int i = 0; i < 1000; ++i) {
        under.advance(0.002);
        peak = std::max(peak, under.value());
    }
    EXPECT_GT(peak, 1.0);
    SpringValue critical(0, {0.4, 1.0, 0});
    critical.retarget(1);
    peak = 0;
    for (int i = 0; i < 1000; ++i) {
        critical.advance(0.002);
        peak = std::max(peak, critical.value());
    }
    EXPECT_LE(peak, 1.0 + 1e-6);
}

TEST(SpringValue, RetargetMidFlightKeepsPositionAndVelocity) {
    SpringValue s(0, Theme::morph());
    s.retarget(1);
    s.advance(0.1);
    const double v = s.value(), dv = s.velocity();
    ASSERT_GT(dv, 0);
    s.retarget(-1);
    EXPECT_EQ(s.value(), v);
    EXPECT_EQ(s.velocity(), dv);
    // Still moving up for a moment before it turns towards the new target.
    s.advance(0.005);
    EXPECT_GT(s.value(), v);
    s.advance(5);
    EXPECT_EQ(s.value(), -1);
    s.jump(3);
    EXPECT_TRUE(s.isSettled());
    EXPECT_FALSE(s.advance(0.1));
}

TEST(KeyframeTrack, ShakeRunsItsKeyframesAndEndsAtRest) {
    const auto spring = KeyframeTrack::defaultSpring();
    KeyframeTrack track(0, {{-9, 0.07, spring},
                            {8, 0.07, spring},
                            {-6, 0.07, spring},
                            {4, 0.07, spring},
                            {0, 0.12, spring}});
    EXPECT_NEAR(track.duration(), 0.40, 1e-12);
    EXPECT_EQ(track.valueAt(0), 0);
    // Left first, then right, then left again.
    const double first = track.valueAt(0.07);
    double high = first;
    for (double t = 0.07; t < 0.21; t += 0.005)
        high = std::max(high, track.valueAt(t));
    EXPECT_LT(first, -1);
    EXPECT_GT(high, first + 1);
    EXPECT_EQ(track.valueAt(0.40), 0);
    EXPECT_EQ(track.valueAt(3), 0);
    // A pure function of time: asking twice gives the same answer.
    EXPECT_EQ(track.valueAt(0.123), track.valueAt(0.123));
    EXPECT_EQ(KeyframeTrack(5, {}).valueAt(1), 5);
}

// The frame clock on a manual clock: it ticks only while a shown widget wants frames.
class FrameClockTest : public test::FrameSteps {};

TEST_F(FrameClockTest, RunsOnlyWhileSomethingAnimatedIsShown) {
    auto levels = QList<float>(32, 0.2f);
    auto* wave = new WaveformView(levels, Theme::agent(), 3, 2.5, 1);
    std::unique_ptr<QWidget> owner(wave);
    EXPECT_FALSE(FrameClock::shared().isRunning()) << "a hidden view costs nothing";
    wave->resize(174, 26);
    wave->show();
    EXPECT_TRUE(wave->isClockRunning());
    EXPECT_TRUE(FrameClock::shared().isRunning());
    wave->hide();
    EXPECT_FALSE(FrameClock::shared().isRunning());
    wave->show();
    EXPECT_TRUE(FrameClock::shared().isRunning());
    FrameClock::shared().setReduceMotion(true);
    EXPECT_FALSE(FrameClock::shared().isRunning());
    FrameClock::shared().setReduceMotion(false);
    EXPECT_TRUE(FrameClock::shared().isRunning());
    owner.reset();
    EXPECT_FALSE(FrameClock::shared().isRunning());
}

TEST_F(FrameClockTest, StillMarkStopsOnceItsSpringsSettle) {
    BrandMark mark;
    mark.resize(125, 100);
    mark.show();
    EXPECT_FALSE(mark.isClockRunning()) << "not animated: one drawing, no clock";
    mark.setBall(true);
    EXPECT_TRUE(mark.isClockRunning());
    const double t0 = FrameClock::shared().now();
    clock.advance(std::chrono::milliseconds(170));
    const double mid = mark.currentFrame().morph;
    EXPECT_GT(mid, 0);
    EXPECT_LT(mid, 1);
    EXPECT_GT(FrameClock::shared().now(), t0);
    clock.advance(std::chrono::milliseconds(3000));
    EXPECT_EQ(mark.currentFrame().morph, 1);
    EXPECT_FALSE(mark.isClockRunning());
    EXPECT_FALSE(FrameClock::shared().isRunning());
    // Not animated: the frame stays at time 0 however long it is shown.
    EXPECT_EQ(mark.currentFrame().swirlDegrees, 0);
}

TEST_F(FrameClockTest, ReducedMotionJumpsSpringsAndPausesTheTimeline) {
    BrandMarkInputs in;
    in.animated = true;
    BrandMark mark(in);
    mark.resize(125, 100);
    mark.show();
    EXPECT_TRUE(mark.isClockRunning());
    clock.advance(std::chrono::milliseconds(500));
    FrameClock::shared().setReduceMotion(true);
    const auto frozen = mark.currentFrame();
    mark.setBall(true);
    EXPECT_EQ(mark.currentFrame().morph, 1) << "no spring under reduced motion";
    clock.advance(std::chrono::milliseconds(500));
    EXPECT_EQ(mark.currentFrame().swirlDegrees, frozen.swirlDegrees);
    EXPECT_FALSE(FrameClock::shared().isRunning());
}

// A second of the 60 Hz clock: the shimmer takes at most 30 frames of it and the aurora at most
// 20, evenly spread, while the waveform takes every tick.
TEST_F(FrameClockTest, EachEffectTakesFramesNoFasterThanItsRate) {
    struct Case {
        const char* name;
        std::function<QWidget*()> make;
        int perSecond;
    };
    const QList<Case> cases{
        {"shimmer", [] { return new ShimmerText("Pensando…", QFont(), Qt::white); }, 30},
        {"aurora", [] { return new AuroraBackground(Theme::agent()); }, 20},
        {"waveform",
         [] { return new WaveformView(QList<float>(32, 0.2f), Theme::agent(), 3, 2.5, 1); }, 59},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QWidget> widget(c.make());
        widget->resize(160, 40);
        widget->show();
        auto* driver = widget->findChild<FrameDriver*>();
        ASSERT_TRUE(driver);
        QList<double> times;
        for (int tick = 0; tick < 59; ++tick) {
            const int before = driver->frameCount();
            clock.advance(std::chrono::milliseconds(FrameClock::kIntervalMs));
            if (driver->frameCount() != before) times << driver->time();
        }
        EXPECT_LE(times.size(), c.perSecond);
        EXPECT_GE(times.size(), c.perSecond - 2) << "it still moves";
        for (int i = 1; i < times.size(); ++i)
            EXPECT_GE(times[i] - times[i - 1], 1.0 / (c.perSecond + 1)) << i;
    }
}

// Painting more often than the aurora moves (a shimmer above it, an exposed corner) reuses the
// last mesh: it is drawn again only for a new pose, size or colour scheme.
TEST_F(FrameClockTest, AuroraDrawsItsMeshOnlyForANewPose) {
    AuroraBackground aurora(Theme::agent());
    aurora.resize(160, 90);
    aurora.show();
    aurora.grab();
    const int first = aurora.meshDrawings();
    EXPECT_GE(first, 1);
    for (int tick = 0; tick < 59; ++tick) {
        clock.advance(std::chrono::milliseconds(FrameClock::kIntervalMs));
        aurora.grab();
    }
    EXPECT_LE(aurora.meshDrawings() - first, 20);
    EXPECT_GE(aurora.meshDrawings() - first, 18);
    const int drawn = aurora.meshDrawings();
    aurora.grab();
    EXPECT_EQ(aurora.meshDrawings(), drawn);
    aurora.resize(200, 90);
    aurora.grab();
    EXPECT_EQ(aurora.meshDrawings(), drawn + 1);
}

TEST(FrameClockDesktop, GtkAnimationsOffAsksForReducedMotion) {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    QDir().mkpath(config + "/gtk-3.0");
    QFile f(config + "/gtk-3.0/settings.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Settings]\ngtk-enable-animations=false\n");
    f.close();
    EXPECT_TRUE(FrameClock::desktopAsksReducedMotion());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Settings]\ngtk-enable-animations=true\n");
    f.close();
    EXPECT_FALSE(FrameClock::desktopAsksReducedMotion());
    f.remove();
}

} // namespace
