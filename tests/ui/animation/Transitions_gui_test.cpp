// The shared transitions: their looks as tables, the effect that draws them on real widgets,
// and the replace and bounce players on the injected clock.
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/Bounce.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/animation/Transitions.h"

#include <QLabel>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

void expectNear(QPointF a, QPointF b) {
    EXPECT_NEAR(a.x(), b.x(), 1e-9);
    EXPECT_NEAR(a.y(), b.y(), 1e-9);
}

TEST(TransitionLook, ScalesAboutItsAnchorAndCombinesLikeTwoTransforms) {
    const QRectF bounds(10, 20, 200, 100);
    TransitionLook bottom{.scale = 0.5, .anchor = {0.5, 1}, .offset = {0, 26}};
    // The anchor stays put but for the offset.
    expectNear(bottom.transform(bounds).map(QPointF(110, 120)), QPointF(110, 146));
    expectNear(bottom.transform(bounds).map(QPointF(10, 20)), QPointF(60, 96));

    const TransitionLook looks[] = {
        {},
        bottom,
        {.scale = 0.8, .anchor = {0.5, 0.5}, .opacity = 0.5, .blur = 4},
        {.scale = 0.3, .anchor = {0, 0}, .offset = {-3, 5}},
        {.scale = 1.2, .anchor = {1, 0.25}},
    };
    for (const auto& inner : looks) {
        for (const auto& outer : looks) {
            const TransitionLook both = inner.then(outer);
            const QTransform expected = inner.transform(bounds) * outer.transform(bounds);
            for (QPointF p : {QPointF(10, 20), QPointF(210, 120), QPointF(77, 33)})
                expectNear(both.transform(bounds).map(p), expected.map(p));
            EXPECT_DOUBLE_EQ(both.opacity, inner.opacity * outer.opacity);
        }
    }
    EXPECT_TRUE(TransitionLook{}.isIdentity());
    EXPECT_FALSE(TransitionLook{.opacity = 0.99}.isIdentity());
}

TEST(Transitions, LooksRunFromTheirStartToRest) {
    const struct {
        const char* name;
        TransitionLook start, middle;
    } cases[] = {
        {"blur replace",
         {.scale = 0.8, .opacity = 0, .blur = 8},
         {.scale = 0.9, .opacity = 0.5, .blur = 4}},
        {"drop", {.scale = 0.3, .opacity = 0}, {.scale = 0.65, .opacity = 0.5}},
        {"group",
         {.scale = 0.55, .anchor = {0.5, 1}, .offset = {0, 26}, .opacity = 0},
         {.scale = 0.775, .anchor = {0.5, 1}, .offset = {0, 13}, .opacity = 0.5}},
        {"rise", {.offset = {0, 6}, .opacity = 0}, {.offset = {0, 3}, .opacity = 0.5}},
    };
    const std::function<TransitionLook(double)> looks[] = {
        &Transitions::blurReplace,
        [](double p) {
            return Transitions::scaleFade(0.3, {0.5, 0.5}, p);
        },
        &Transitions::liquidAppear,
        [](double p) { return Transitions::rise(6, p); },
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(looks[i](0), cases[i].start);
        const TransitionLook mid = looks[i](0.5);
        EXPECT_NEAR(mid.scale, cases[i].middle.scale, 1e-9);
        EXPECT_NEAR(mid.offset.y(), cases[i].middle.offset.y(), 1e-9);
        EXPECT_NEAR(mid.opacity, cases[i].middle.opacity, 1e-9);
        EXPECT_NEAR(mid.blur, cases[i].middle.blur, 1e-9);
        EXPECT_TRUE(looks[i](1).isIdentity());
        // A spring past its target grows a little but never shows more than fully.
        EXPECT_LE(looks[i](1.05).opacity, 1);
        EXPECT_GE(looks[i](-0.05).opacity, 0);
        EXPECT_GE(looks[i](-0.05).blur, 0);
    }
}

TEST(Transitions, BounceSwellsDipsAndSettles) {
    const KeyframeTrack bounce = Transitions::bounce();
    double high = 1, low = 1;
    for (double t = 0; t < bounce.duration(); t += 0.005) {
        high = std::max(high, bounce.valueAt(t));
        if (high > 1.1) low = std::min(low, bounce.valueAt(t));
    }
    EXPECT_EQ(bounce.valueAt(0), 1);
    EXPECT_GT(high, 1.1);
    EXPECT_LT(low, 0.98) << "it dips under its size after the swell";
    EXPECT_LT(bounce.duration(), 0.6);
    EXPECT_EQ(bounce.valueAt(bounce.duration()), 1);
}

// A solid red square on white, drawn through the effect.
class Square : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::red); }
};

class EffectDrawing : public ::testing::Test {
protected:
    EffectDrawing() {
        canvas.resize(200, 200);
        QPalette pal;
        pal.setColor(QPalette::Window, Qt::white);
        canvas.setPalette(pal);
        canvas.setAutoFillBackground(true);
        square->setGeometry(50, 50, 100, 100);
        square->setGraphicsEffect(effect);
    }
    bool red(int x, int y) {
        const QColor c = canvas.grab().toImage().pixelColor(x, y);
        return c.red() > 200 && c.green() < 60;
    }
    QWidget canvas;
    Square* square = new Square(&canvas);
    TransitionEffect* effect = new TransitionEffect;
};

TEST_F(EffectDrawing, DrawsTheWidgetScaledMovedFadedAndBlurred) {
    EXPECT_FALSE(effect->isEnabled()) << "at rest it steps aside";
    EXPECT_TRUE(red(55, 55));

    effect->setLook({.scale = 0.5, .anchor = {0.5, 1}});
    EXPECT_TRUE(effect->isEnabled());
    EXPECT_FALSE(red(55, 55)) << "shrunk towards its bottom centre";
    EXPECT_FALSE(red(100, 95));
    EXPECT_TRUE(red(100, 140));

    effect->setLook({.offset = {0, 30}});
    EXPECT_FALSE(red(100, 60));
    EXPECT_TRUE(red(100, 170)) << "drawn below its own rectangle";

    effect->setLook({.opacity = 0});
    EXPECT_FALSE(red(100, 100));
    effect->setLook({.opacity = 0.5});
    const QColor half = canvas.grab().toImage().pixelColor(100, 100);
    EXPECT_NEAR(half.green(), 128, 4);

    effect->setLook({.blur = 6});
    const QImage blurred = canvas.grab().toImage();
    EXPECT_TRUE(red(100, 100)) << "the middle stays";
    EXPECT_LT(blurred.pixelColor(40, 100).green(), 250) << "the edge spreads outward";
    EXPECT_GT(blurred.pixelColor(52, 100).green(), 20) << "and softens inward";
}

// Players on the frame clock, on a clock the test moves.
class Players : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        FrameClock::shared().setReduceMotion(false);
        host.resize(200, 60);
        label->setGeometry(10, 10, 120, 30);
        host.show();
    }
    void TearDown() override {
        FrameClock::shared().setReduceMotion(false);
        Clock::install(nullptr);
    }
    void advance(int ms) { clock.advance(std::chrono::milliseconds(ms)); }

    ManualClock clock;
    QWidget host;
    QLabel* label = new QLabel(QStringLiteral("Antes"), &host);
};

TEST_F(Players, ReplaceLetsThePictureOfTheOldLookLeaveWhileTheNewComesIn) {
    ReplaceTransition replace(label, {0.3, 1, 0}, &Transitions::blurReplace);
    EXPECT_FALSE(replace.isRunning());
    replace.aboutToChange();
    label->setText(QStringLiteral("Depois"));
    ASSERT_NE(replace.leaving(), nullptr);
    EXPECT_EQ(replace.leaving()->geometry(), label->geometry());
    EXPECT_TRUE(replace.leaving()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(replace.progress(), 0);
    advance(100);
    EXPECT_GT(replace.progress(), 0.1);
    EXPECT_LT(replace.progress(), 1);
    advance(1500);
    EXPECT_FALSE(replace.isRunning());
    EXPECT_EQ(replace.leaving(), nullptr);
    EXPECT_TRUE(static_cast<TransitionEffect*>(label->graphicsEffect())->look().isIdentity());

    // Under reduced motion, and for a widget nobody sees, the change is at once.
    FrameClock::shared().setReduceMotion(true);
    replace.aboutToChange();
    EXPECT_FALSE(replace.isRunning());
    FrameClock::shared().setReduceMotion(false);
    host.hide();
    replace.aboutToChange();
    EXPECT_FALSE(replace.isRunning());
}

TEST_F(Players, ReducedMotionEndsAReplaceAlreadyUnderWay) {
    ReplaceTransition replace(label, {0.3, 1, 0}, &Transitions::blurReplace);
    replace.aboutToChange();
    advance(50);
    ASSERT_TRUE(replace.isRunning());
    FrameClock::shared().setReduceMotion(true);
    EXPECT_FALSE(replace.isRunning());
    EXPECT_EQ(replace.leaving(), nullptr);
}

TEST_F(Players, BouncePlaysOnceFromTheStartEachTime) {
    Bounce bounce(label);
    EXPECT_EQ(bounce.scale(), 1);
    bounce.play();
    double high = 1;
    for (int i = 0; i < 20 && bounce.isPlaying(); ++i) {
        advance(17);
        high = std::max(high, bounce.scale());
        EXPECT_EQ(static_cast<TransitionEffect*>(label->graphicsEffect())->look().scale,
                  bounce.scale());
    }
    EXPECT_GT(high, 1.1);
    advance(1000);
    EXPECT_FALSE(bounce.isPlaying());
    EXPECT_EQ(bounce.scale(), 1);
    EXPECT_FALSE(label->graphicsEffect()->isEnabled());

    FrameClock::shared().setReduceMotion(true);
    bounce.play();
    EXPECT_FALSE(bounce.isPlaying());
}

} // namespace
