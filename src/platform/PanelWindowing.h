#pragma once

#include <QList>
#include <QRect>

#include <optional>

namespace nolvea {

// What the floating overlay panels need of the window system beyond ordinary windows: to
// float on every desktop, to take input only where they draw, and to take and give back the
// keyboard without activating the application. Windows are named by their native ids.
class PanelWindowing {
public:
    using WindowId = quintptr;

    virtual ~PanelWindowing() = default;

    // Marks a window, before it is first shown, as a panel above the others on every
    // desktop, left out of task bars, pagers and window cycling.
    virtual void prepareFloatingPanel(WindowId window) = 0;
    // The part of the window that takes pointer input; empty lets every click through.
    virtual void setInputRegion(WindowId window, const QList<QRect>& rects) = 0;
    // The visible shape of the window; none shows all of it.
    virtual void setShape(WindowId window, const std::optional<QList<QRect>>& rects) = 0;
    // Whether a compositor draws translucent windows over what lies below.
    virtual bool compositorRunning() = 0;
    // The window that now has the keyboard (0 when none).
    virtual WindowId focusedWindow() = 0;
    // Gives the keyboard to `window`; false when the window system refused.
    virtual bool focusWindow(WindowId window) = 0;
    // Whether `window` or one of its children has the keyboard.
    virtual bool hasFocusWithin(WindowId window) = 0;
};

} // namespace nolvea
