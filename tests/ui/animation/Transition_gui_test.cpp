// Views coming and going: a transition's spring, delay and effect on a real widget, the effect
// drawing a shifted, faded copy, and the box that reveals its content from the top.
#include "support/FrameSteps.h"
#include "ui/animation/MotionEffect.h"
#include "ui/animation/RevealBox.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/components/Theme.h"

#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

MotionPose fade(double p) {
    return {.opacity = p, .offset = {0, 8 * (1 - p)}};
}

class Transition : public test::FrameSteps {
protected:
    void SetUp() override {
        FrameSteps::SetUp();
        widget.resize(100, 40);
        widget.show();
    }

    QWidget widget;
};

TEST_F(Transition, AppearsAfterItsDelayAndLeavesNothingBehindAtRest) {
    WidgetTransition t(&widget, fade, false);
    ASSERT_NE(t.effect(), nullptr) << "hidden until it appears";
    EXPECT_EQ(t.effect()->pose().opacity, 0);
    EXPECT_EQ(t.effect()->pose().offset, QPointF(0, 8));

    t.appear(Theme::snappy(), 0.1);
    run(85);
    EXPECT_EQ(t.progress(), 0) << "still waiting out its delay";
    run(51);
    EXPECT_GT(t.progress(), 0);
    EXPECT_LT(t.progress(), 1);
    EXPECT_GT(t.effect()->pose().opacity, 0);
    run(1500);
    EXPECT_EQ(t.progress(), 1);
    EXPECT_FALSE(t.isMoving());
    EXPECT_EQ(widget.graphicsEffect(), nullptr) << "at rest the widget draws itself";

    int gone = 0;
    t.disappear(Theme::snappy(), [&] { ++gone; });
    run(100);
    EXPECT_EQ(gone, 0);
    run(1500);
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(t.progress(), 0);
    // Coming back before it was gone forgets the leaving.
    t.appear(Theme::snappy());
    run(50);
    t.disappear(Theme::snappy(), [&] { ++gone; });
    t.appear(Theme::snappy());
    run(1500);
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(t.progress(), 1);
}

TEST_F(Transition, ReducedMotionLandsAtOnce) {
    int gone = 0;
    {
        WidgetTransition t(&widget, fade, true);
        t.disappear(Theme::gentle(), [&] { ++gone; });
        run(50);
        ASSERT_TRUE(t.isMoving());
        FrameClock::shared().setReduceMotion(true);
        EXPECT_FALSE(t.isMoving());
        EXPECT_EQ(t.progress(), 0);
        EXPECT_EQ(gone, 1);
        t.appear(Theme::gentle(), 0.2);
        EXPECT_EQ(t.progress(), 1);
        EXPECT_EQ(widget.graphicsEffect(), nullptr);
    }
    EXPECT_EQ(gone, 1);
}

TEST_F(Transition, TheEffectDrawsTheWidgetShiftedAndFaded) {
    QWidget parent;
    parent.resize(100, 60);
    parent.setStyleSheet(QStringLiteral("background: black"));
    auto* red = new QWidget(&parent);
    red->setStyleSheet(QStringLiteral("background: red"));
    red->setAutoFillBackground(true);
    red->setGeometry(0, 0, 40, 40);
    auto* effect = new MotionEffect;
    red->setGraphicsEffect(effect);
    parent.show();

    effect->setPose({.opacity = 0.5, .offset = {50, 10}});
    QImage image = parent.grab().toImage();
    const QColor moved = image.pixelColor(70, 30);
    EXPECT_NEAR(moved.red(), 128, 20) << "half of the red over black";
    EXPECT_LT(moved.green(), 20);
    EXPECT_LT(image.pixelColor(10, 5).red(), 20) << "nothing left where it stood";

    effect->setPose({.opacity = 1, .scale = 0.5});
    image = parent.grab().toImage();
    EXPECT_GT(image.pixelColor(20, 20).red(), 200) << "the centre stays";
    EXPECT_LT(image.pixelColor(3, 3).red(), 20) << "the corners shrink towards it";

    effect->setPose({.opacity = 0});
    image = parent.grab().toImage();
    EXPECT_LT(image.pixelColor(20, 20).red(), 20);
}

TEST(RevealBox, ShowsAFractionOfItsContentTheTopCutAway) {
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* content = new QWidget;
    content->setFixedHeight(100);
    auto* box = new RevealBox(content);
    auto* below = new QWidget;
    below->setFixedHeight(10);
    column->addWidget(box);
    column->addWidget(below);
    column->addStretch(1);
    window.resize(200, 300);
    window.show();

    for (double f : {0.0, 0.25, 1.0}) {
        box->setFraction(f);
        window.layout()->activate();
        SCOPED_TRACE(f);
        EXPECT_EQ(box->height(), int(100 * f));
        EXPECT_EQ(content->geometry(), QRect(0, int(100 * f) - 100, 200, 100));
        EXPECT_EQ(below->y(), int(100 * f)) << "what follows moves along";
    }
}

} // namespace
