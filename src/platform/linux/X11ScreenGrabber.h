#pragma once

#include "platform/ScreenGrabber.h"

#include <chrono>

namespace nolvea {

// Screenshots of the X11 screen under the pointer (`QScreen::grabWindow` of the root window),
// with the pointer from XFixes drawn in. This program's visible windows are hidden for the
// grab and shown again, without taking the focus, afterwards. Needs a QApplication.
class X11ScreenGrabber final : public ScreenGrabber {
public:
    // `settle`: how long the windows under our hidden ones get to repaint before the grab.
    explicit X11ScreenGrabber(std::chrono::milliseconds settle = std::chrono::milliseconds(200))
        : m_settle(settle) {}

    QCoro::Task<QByteArray> pngUnderPointer(double maxDimension) override;

private:
    std::chrono::milliseconds m_settle;
};

} // namespace nolvea
