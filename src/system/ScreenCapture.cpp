#include "system/ScreenCapture.h"

#include "agent/ToolError.h"
#include "platform/DesktopError.h"
#include "platform/Platform.h"
#include "platform/ScreenGrabber.h"

#include <algorithm>

namespace nolvea::ScreenCapture {

QSize scaledSize(QSize screen, double maxDimension) {
    const int longer = std::max(screen.width(), screen.height());
    if (longer <= 0) return {0, 0};
    const double scale = std::min(1.0, maxDimension / double(longer));
    return {int(screen.width() * scale), int(screen.height() * scale)};
}

QCoro::Task<QByteArray> pngUnderMouse(double maxDimension) {
    auto grabber = Platform::find<ScreenGrabber>();
    if (!grabber) throw ToolError::failed(DesktopError(DesktopError::Kind::noX11).message());
    try {
        co_return co_await grabber->pngUnderPointer(maxDimension);
    } catch (const DesktopError& e) {
        throw ToolError::failed(e.message());
    }
}

} // namespace nolvea::ScreenCapture
