// A button's width following its new label frame by frame, in a real layout, in place of a
// jump: growing, changing its mind mid-way, landing at once when hidden or under reduced
// motion, and handing the width back to the button at rest.
#include "support/FrameSteps.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/GlassButton.h"
#include "ui/components/Theme.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

const GlassButton::Look kSymbol{.symbol = QStringLiteral("trash")};
const GlassButton::Look kWords{.title = QStringLiteral("Apagar tudo?")};

class WidthMotionTest : public test::FrameSteps {
protected:
    void SetUp() override {
        FrameSteps::SetUp();
        auto* line = new QHBoxLayout(&row);
        line->addStretch(1);
        button = new GlassButton(kSymbol);
        line->addWidget(button);
        companion = new QWidget(&row);
        row.resize(400, 40);
        row.show();
        QCoreApplication::processEvents();
        narrow = button->width();
        wide = GlassButton(kWords).sizeHint().width();
        ASSERT_GT(wide, narrow + 40);
    }
    void frames(int ms) {
        run(ms);
        QCoreApplication::processEvents(); // the layout places the button at its new width
    }
    void swap(WidthMotion& m, const GlassButton::Look& look) {
        m.change([&] { button->setLook(look); });
        QCoreApplication::processEvents();
    }

    QWidget row;
    GlassButton* button = nullptr;
    QWidget* companion = nullptr;
    int narrow = 0, wide = 0;
};

TEST_F(WidthMotionTest, TheWidthMovesWithTheSpringAndIsTheButtonsOwnAtRest) {
    WidthMotion motion(button, Theme::snappy());
    swap(motion, kWords);
    EXPECT_TRUE(motion.isRunning());
    EXPECT_EQ(button->width(), narrow) << "the first frame starts where the old label was";

    QList<int> widths;
    for (int i = 0; i < 12; ++i) {
        frames(17);
        widths.append(button->width());
    }
    EXPECT_GT(widths[2], narrow);
    EXPECT_LT(widths[2], wide) << "mid-way it is between the two";
    for (int i = 1; i < 6; ++i)
        EXPECT_GE(widths[i], widths[i - 1]) << "it grows, frame after frame";
    // The right edge stays against the stretch's end: the button grows to the left.
    EXPECT_EQ(button->geometry().right(),
              row.rect().right() - row.layout()->contentsMargins().right());

    frames(1500);
    EXPECT_FALSE(motion.isRunning());
    EXPECT_EQ(button->width(), wide);
    EXPECT_EQ(button->minimumWidth(), 0) << "at rest the button sizes itself again";
    EXPECT_EQ(button->maximumWidth(), QWIDGETSIZE_MAX);
}

TEST_F(WidthMotionTest, AChangeOfMindMidWayTurnsFromWhereItIs) {
    WidthMotion motion(button, Theme::snappy());
    swap(motion, kWords);
    frames(68);
    const int reached = button->width();
    ASSERT_GT(reached, narrow);
    ASSERT_LT(reached, wide);
    swap(motion, kSymbol);
    EXPECT_NEAR(button->width(), reached, 1) << "no jump back to either end";
    frames(17);
    EXPECT_GT(button->width(), narrow) << "still on its way back";
    frames(1500);
    EXPECT_FALSE(motion.isRunning());
    EXPECT_EQ(button->width(), narrow);
}

TEST_F(WidthMotionTest, TheOldLabelsPictureStaysCentredOnTheButton) {
    WidthMotion motion(button, Theme::snappy());
    motion.setCompanion([this] { return companion; });
    companion->setGeometry(button->geometry());
    companion->show();
    swap(motion, kWords);
    for (int i = 0; i < 10; ++i) {
        frames(17);
        const double centre = button->x() + button->width() / 2.0;
        EXPECT_NEAR(companion->x() + companion->width() / 2.0, centre, 1) << "frame " << i;
    }
}

TEST_F(WidthMotionTest, LandsAtOnceWhereNoOneSeesItMove) {
    const struct {
        const char* name;
        bool hidden;
        bool reduced;
        bool hiddenMidWay;
    } cases[] = {
        {"a hidden button", true, false, false},
        {"reduced motion", false, true, false},
        {"hidden mid-way", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        button->setLook(kSymbol);
        button->setVisible(!c.hidden);
        FrameClock::shared().setReduceMotion(c.reduced);
        QCoreApplication::processEvents();
        WidthMotion motion(button, Theme::snappy());
        swap(motion, kWords);
        if (c.hiddenMidWay) {
            frames(34);
            button->hide();
        }
        EXPECT_FALSE(motion.isRunning());
        EXPECT_EQ(button->minimumWidth(), 0);
        EXPECT_EQ(button->maximumWidth(), QWIDGETSIZE_MAX);
        button->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(button->width(), wide);
        FrameClock::shared().setReduceMotion(false);
    }
}

} // namespace
