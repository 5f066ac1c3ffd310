#pragma once

#include <QByteArray>
#include <QSize>
#include <qcoro/qcorotask.h>

namespace nolvea {

// Takes pictures of the screen.
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;

    // A PNG of the whole screen under the mouse pointer, the pointer drawn in, with this
    // program's own windows left out, scaled down (never up) so that its longer side is at most
    // `maxDimension` pixels. Throws `DesktopError` when there is no screen or no image.
    virtual QCoro::Task<QByteArray> pngUnderPointer(double maxDimension) = 0;

    // The size of the image made of a screen of `screen` points: scaled by
    // `maxDimension` ÷ its longer side, never above 1, each side truncated.
    static QSize scaledSize(QSize screen, double maxDimension);
};

} // namespace nolvea
