#include "ui/components/BrandMarkModel.h"
#include "ui/components/BreathShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace nolvea;

namespace {

const QRectF kRect(10, 20, 200, 160);

// Half the vertical extent of the outline at its middle column (t = 0.5, phase 0 puts the
// centre line on y0 there).
double middleThickness(const BreathShape& s) {
    const QPolygonF p = s.path(kRect);
    const int N = s.steps;
    return p[2 * (N + 1) - 1 - N / 2].y() - p[N / 2].y();
}

TEST(BreathShape, PolygonHasTwoEdgesOfStepsPlusOnePoints) {
    BreathShape s;
    const QPolygonF p = s.path(kRect);
    ASSERT_EQ(p.size(), 194);
    // Pointed ends: the envelope is 0 at both ends, so upper and lower points meet there.
    EXPECT_NEAR(p.first().x(), p.last().x(), 1e-9);
    EXPECT_NEAR(p.first().y(), p.last().y(), 1e-9);
    EXPECT_NEAR(p[96].y(), p[97].y(), 1e-9);
    EXPECT_NEAR(p.first().x(), kRect.x() + 0.05 * kRect.width(), 1e-9);
    EXPECT_NEAR(p[96].x(), kRect.x() + 0.95 * kRect.width(), 1e-9);
}

TEST(BreathShape, FullMorphIsACircleWhateverTheWave) {
    for (double morph : {1.0, 1.7}) {
        for (double phase : {0.0, 1.3}) {
            BreathShape s;
            s.morph = morph;
            s.phase = phase;
            s.amplitude = 0.4;
            s.ballRadius = 0.25;
            s.voice = {0.2, 0.9, 0.4};
            const QPointF c(kRect.x() + kRect.width() * 0.5, kRect.y() + 0.5 * kRect.height());
            for (const QPointF& pt : s.path(kRect))
                EXPECT_NEAR(std::hypot(pt.x() - c.x(), pt.y() - c.y()), 0.25 * kRect.height(),
                            1e-9);
        }
    }
}

TEST(BreathShape, NegativeMorphDrawsTheLine) {
    BreathShape line, below;
    below.morph = -0.5;
    EXPECT_EQ(line.path(kRect), below.path(kRect));
}

TEST(BreathShape, VoiceProfileScalesAmplitudeAndThickness) {
    const double W = kRect.width();
    struct Case {
        QList<double> voice;
        double thicknessFactor;
    } cases[] = {
        {{}, 1.0},           // no profile: the fields as they are
        {{0, 0, 0, 0}, 0.7}, // silence: 0.7 of the thickness
        {{0.8}, 0.7},        // one entry gives loudness 0
        {{1, 1, 1}, 1.4},    // loud: 1.4 of it
    };
    for (const auto& c : cases) {
        BreathShape s;
        s.voice = c.voice;
        EXPECT_NEAR(middleThickness(s), c.thicknessFactor * 0.24 * W, 1e-6)
            << "voice size " << c.voice.size();
    }
    // Amplitude: at t = 0.25 with phase 0 the centre line sits sin(π/4)·a·W above y0.
    for (auto [voice, factor] : {std::pair{QList<double>{}, 1.0}, {QList<double>{0, 0}, 0.45}}) {
        BreathShape s;
        s.voice = voice;
        s.thickness = 0;
        const QPolygonF p = s.path(kRect);
        const double yc = p[24].y();
        const double e = std::sin(std::numbers::pi * 0.25);
        EXPECT_NEAR(kRect.y() + 0.5 * kRect.height() - yc, e * 1.0 * factor * 0.195 * W, 1e-6);
    }
}

TEST(BreathShape, LoudnessIsASmoothstepBetweenEntries) {
    BreathShape s;
    s.voice = {0, 1, 0.5};
    EXPECT_DOUBLE_EQ(s.loudness(0), 0);
    EXPECT_DOUBLE_EQ(s.loudness(0.5), 1);
    EXPECT_DOUBLE_EQ(s.loudness(1), 0.5);
    EXPECT_DOUBLE_EQ(s.loudness(0.25), 0.5);        // smoothstep(0.5) = 0.5
    EXPECT_NEAR(s.loudness(0.125), 0.15625, 1e-12); // f = 0.25 → 0.15625
    s.voice = {0.7};
    EXPECT_EQ(s.loudness(0.3), 0);
}

TEST(BrandMarkModel, Resample) {
    struct Case {
        QList<float> in;
        QList<double> out;
    } cases[] = {
        {{0.2f}, QList<double>(7, double(0.2f))},
        {{}, QList<double>(7, 0.0)},
        {{2.0f, 2.0f}, QList<double>(7, 1.0)},
        {{0.1f, 0.3f, 0.5f, 0.7f, 0.2f, 0.4f, 1.0f, 0.0f, 0.6f, 0.6f, 0.9f, 0.1f, 0.0f, 0.2f},
         {0.2, 0.6, 0.3, 0.5, 0.6, 0.5, 0.1}},
        {{0.4f, NAN}, {0.4f, 0.4f, 0.4f, 0.4f, 0, 0, 0}},
        {{-1.0f, 0.2f}, {0, 0, 0, 0, 0.2f, 0.2f, 0.2f}},
    };
    for (const auto& c : cases) {
        const QList<double> got = BrandMarkModel::resample(c.in, 7);
        ASSERT_EQ(got.size(), c.out.size());
        for (int i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.out[i], 1e-6) << "input size " << c.in.size() << " at " << i;
    }
    EXPECT_TRUE(BrandMarkModel::resample({0.5f, 0.5f}, 0).isEmpty());
    // Stretching: three levels to seven points repeat each level over its share.
    EXPECT_EQ(BrandMarkModel::resample({0.f, 0.5f, 1.f}, 7),
              (QList<double>{0, 0, 0, 0.5, 0.5, 1, 1}));
}

TEST(BrandMarkModel, FrameFollowsTheFormulas) {
    BrandMarkInputs in;
    in.level = 0.5;
    const double t = 10.0;
    // Not animated: time 0, so phase and both angles are 0.
    auto still = BrandMarkModel::frame(in, t);
    EXPECT_EQ(still.line.phase, 0);
    EXPECT_EQ(still.swirlDegrees, 0);
    EXPECT_EQ(still.ringDegrees, 0);
    EXPECT_NEAR(still.line.amplitude, 0.195 * (1 + 0.35 * 0.5), 1e-12);
    EXPECT_NEAR(still.echo.amplitude, 0.245 * (1 + 0.35 * 0.5), 1e-12);
    EXPECT_EQ(still.line.steps, 96);
    EXPECT_EQ(still.echo.x0, 0.1);
    EXPECT_EQ(still.echo.y0, 0.519);

    in.animated = true;
    auto sway = BrandMarkModel::frame(in, t);
    EXPECT_NEAR(sway.line.phase, 0.35 * std::sin(std::fmod(t * 1.3, 2 * std::numbers::pi)), 1e-12);
    EXPECT_NEAR(sway.echo.phase, sway.line.phase + 0.9, 1e-12);
    EXPECT_NEAR(sway.swirlDegrees, std::fmod(t * 50, 360), 1e-9);
    EXPECT_NEAR(sway.ringDegrees, std::fmod(540 * t, 360), 1e-9);

    in.busy = true;
    auto busy = BrandMarkModel::frame(in, t);
    EXPECT_NEAR(busy.line.phase, 0.35 * std::sin(std::fmod(t * 4.0, 2 * std::numbers::pi)), 1e-12);
    EXPECT_NEAR(busy.swirlDegrees, std::fmod(t * 420, 360), 1e-9);

    // A live voice on the line: a travelling wave and no level factor.
    in.busy = false;
    in.levels = QList<float>{0.1f, 0.9f};
    auto voiced = BrandMarkModel::frame(in, t);
    EXPECT_NEAR(voiced.line.phase, std::fmod(3.2 * t, 2 * std::numbers::pi), 1e-12);
    EXPECT_NEAR(voiced.line.amplitude, 0.195, 1e-12);
    EXPECT_EQ(voiced.line.voice.size(), 7);

    // As a ball the voice no longer drives the wave, and the ball grows with the level.
    in.ball = true;
    auto ball = BrandMarkModel::frame(in, t);
    EXPECT_EQ(ball.morph, 1);
    EXPECT_NEAR(ball.line.ballRadius, 0.3 * (1 + 0.4 * 0.5), 1e-12);
    EXPECT_NEAR(ball.echo.ballRadius, 0.9 * 0.3 * (1 + 0.4 * 0.5), 1e-12);
    EXPECT_NEAR(ball.line.amplitude, 0.195, 1e-12);

    in.morphOverride = 0.25;
    EXPECT_EQ(BrandMarkModel::frame(in, t).morph, 0.25);
}

TEST(BrandMarkModel, FitKeepsTheAspect) {
    EXPECT_EQ(BrandMarkModel::fit(QRectF(0, 0, 200, 100)), QRectF(37.5, 0, 125, 100));
    EXPECT_EQ(BrandMarkModel::fit(QRectF(0, 0, 100, 200)), QRectF(0, 60, 100, 80));
}

} // namespace
