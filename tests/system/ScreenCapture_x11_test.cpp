#include "system/ScreenCapture.h"

#include "platform/Platform.h"
#include "platform/ScreenGrabber.h"
#include "platform/linux/X11ScreenGrabber.h"
#include "support/Async.h"
#include "support/FrontApp.h"
#include "system/ScreenCaptureError.h"

#include <QCursor>
#include <QImage>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace nolvea;
using namespace nolvea::test;

namespace {

bool isRed(QRgb p) {
    return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80;
}

class ScreenCaptureX11 : public ::testing::Test {
protected:
    void SetUp() override {
        Platform::install<ScreenGrabber>(std::make_shared<X11ScreenGrabber>());
    }
    void TearDown() override { Platform::uninstall<ScreenGrabber>(); }
};

TEST_F(ScreenCaptureX11, TheScreenUnderThePointerWithoutOurWindows) {
    FrontApp other({.color = "#20a040", .geometry = {100, 100, 400, 300}});
    ASSERT_TRUE(other.isReady());
    QWidget ours;
    ours.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    ours.setAttribute(Qt::WA_ShowWithoutActivating);
    ours.setStyleSheet("background: #ff0000;");
    ours.setGeometry(150, 250, 200, 100);
    ours.show();
    ASSERT_TRUE(spinUntil([&] { return ours.windowHandle() && ours.windowHandle()->isExposed(); }));
    QCursor::setPos(420, 330);

    const QImage image = QImage::fromData(await(ScreenCapture::pngUnderMouse(1280)), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1280, 720));
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += isRed(image.pixel(x, y));
    EXPECT_EQ(red, 0);
    // Where our window was, the other application shows.
    const QRgb under = image.pixel(250 * 2 / 3, 300 * 2 / 3);
    EXPECT_EQ(qGreen(under) > 120 && qRed(under) < 80, true) << std::hex << under;
    EXPECT_TRUE(ours.isVisible());

    // The pointer is drawn where it is: dark pixels on the plain green.
    int dark = 0;
    for (int y = 220; y < 240; ++y)
        for (int x = 280; x < 300; ++x) {
            const QRgb p = image.pixel(x, y);
            dark += qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60;
        }
    EXPECT_GT(dark, 0);

    const QImage whole = QImage::fromData(await(ScreenCapture::pngUnderMouse(5000)), "PNG");
    EXPECT_EQ(whole.size(), QSize(1920, 1080));
}

TEST_F(ScreenCaptureX11, WithoutX11ItFailsClearly) {
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    try {
        await(ScreenCapture::pngUnderMouse(1280));
        ADD_FAILURE() << "no error";
    } catch (const ScreenCaptureError& e) {
        EXPECT_TRUE(e.message().contains("X11"));
    }
    qputenv("DISPLAY", display);
}

} // namespace
