#include "system/ScreenCapture.h"

#include "platform/DesktopError.h"
#include "platform/Platform.h"
#include "platform/ScreenGrabber.h"
#include "system/ScreenCaptureError.h"

namespace nolvea::ScreenCapture {

QCoro::Task<QByteArray> pngUnderMouse(double maxDimension) {
    auto grabber = Platform::find<ScreenGrabber>();
    if (!grabber) throw ScreenCaptureError(DesktopError(DesktopError::Kind::noX11).message());
    try {
        co_return co_await grabber->pngUnderPointer(maxDimension);
    } catch (const DesktopError& e) {
        throw ScreenCaptureError(e.message());
    }
}

} // namespace nolvea::ScreenCapture
