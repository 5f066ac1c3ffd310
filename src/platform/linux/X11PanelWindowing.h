#pragma once

#include "platform/PanelWindowing.h"

typedef struct _XDisplay Display;

namespace nolvea {

// The panels' window-system side on X11: EWMH states for the desktops and stacking, XShape
// for the input region and, without a compositor, the visible shape; focus moved with
// XSetInputFocus, since the panels keep the "no input" hint and never ask the window manager
// to activate them.
class X11PanelWindowing final : public PanelWindowing {
public:
    // Uses the application's own X connection; without one, nothing works and nothing fails.
    X11PanelWindowing();

    void prepareFloatingPanel(WindowId window) override;
    void setInputRegion(WindowId window, const QList<QRect>& rects) override;
    void setShape(WindowId window, const std::optional<QList<QRect>>& rects) override;
    bool compositorRunning() override;
    WindowId focusedWindow() override;
    bool focusWindow(WindowId window) override;
    bool hasFocusWithin(WindowId window) override;

    bool isAvailable() const { return m_display != nullptr; }

private:
    Display* m_display = nullptr;
};

} // namespace nolvea
