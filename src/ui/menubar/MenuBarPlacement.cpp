#include "ui/menubar/MenuBarPlacement.h"

#include <algorithm>

namespace nolvea {

QRect MenuBarPlacement::place(const QRect& icon, const QSize& window, const QRect& available) {
    QRect frame(QPoint(), window);
    if (!icon.isValid() || icon.isEmpty()) {
        frame.moveTopRight(available.topRight() + QPoint(-kGap, kGap));
    } else {
        frame.moveLeft(icon.center().x() - window.width() / 2);
        if (icon.center().y() > available.center().y())
            frame.moveBottom(icon.top() - kGap);
        else
            frame.moveTop(icon.bottom() + 1 + kGap);
    }
    // Inside the free area; a window taller or wider than the area keeps its top left corner.
    frame.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - window.width())));
    frame.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - window.height())));
    return frame;
}

} // namespace nolvea
