#pragma once

#include "platform/FrontWindow.h"

#include <QVariant>

#include <optional>

namespace nolvea {

// Finds the window in front. Used on the main thread.
class FrontWindowReader {
public:
    virtual ~FrontWindowReader() = default;

    // The active window, or nothing when there is none or the window system cannot be asked.
    virtual std::optional<FrontWindow> frontWindow() = 0;

    // Brings the application of this process to the front again, with the keyboard focus in
    // its topmost window; nothing to do when it is in front already. Whether it is in front
    // now: false when it has no window on screen, the window system cannot be asked or the
    // window manager would not.
    virtual bool bringToFront(qint32 processID) = 0;

    // The icon of the application of this process, a QImage: the one its window shows, else
    // the one its desktop entry names. Invalid when it has none or shows no window.
    virtual QVariant applicationIcon(qint32 processID) = 0;
};

} // namespace nolvea
