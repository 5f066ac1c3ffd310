#include "platform/ScreenGrabber.h"

#include <algorithm>

namespace nolvea {

QSize ScreenGrabber::scaledSize(QSize screen, double maxDimension) {
    const int longer = std::max(screen.width(), screen.height());
    if (longer <= 0) return {0, 0};
    const double scale = std::min(1.0, maxDimension / double(longer));
    return {int(screen.width() * scale), int(screen.height() * scale)};
}

} // namespace nolvea
