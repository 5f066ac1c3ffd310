#pragma once

#include <QRect>

namespace nolvea {

// Where the tray's window opens: centred under the icon (over it when the icon sits in the
// lower half of the screen, as on a bottom panel), kept inside the screen's free area. With
// no icon geometry (no tray, or a tray that does not tell) it opens at the top right corner.
class MenuBarPlacement {
public:
    static constexpr int kGap = 6;

    static QRect place(const QRect& icon, const QSize& window, const QRect& available);

    MenuBarPlacement() = delete;
};

} // namespace nolvea
