#include "platform/ScreenGrabber.h"

#include <gtest/gtest.h>

using namespace nolvea;

TEST(ScreenGrabber, ScalesTheLongerSideDownNeverUp) {
    struct Case {
        QSize screen;
        double max;
        QSize expected;
    };
    for (const Case& c :
         {Case{{1512, 982}, 1280, {1280, 831}}, Case{{1024, 768}, 1280, {1024, 768}},
          Case{{1920, 1080}, 1280, {1280, 720}}, Case{{1080, 1920}, 1280, {720, 1280}},
          Case{{1280, 800}, 1280, {1280, 800}}, Case{{0, 0}, 1280, {0, 0}}})
        EXPECT_EQ(ScreenGrabber::scaledSize(c.screen, c.max), c.expected)
            << c.screen.width() << "x" << c.screen.height();
}
