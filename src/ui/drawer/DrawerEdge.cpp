#include "ui/drawer/DrawerEdge.h"

namespace nolvea {

std::optional<QRect> DrawerEdge::screenAt(const QList<QRect>& screens, QPoint p) {
    for (const QRect& s : screens)
        if (s.contains(p)) return s;
    if (screens.isEmpty()) return std::nullopt;
    return screens.first();
}

bool DrawerEdge::inHotZone(const QRect& screen, QPoint p) {
    const int bottom = screen.y() + screen.height();
    return p.x() <= screen.x() + 1 && screen.y() + kCornerMargin < p.y() &&
           p.y() < bottom - kCornerMargin;
}

QRect DrawerEdge::grown(const QRect& panel) {
    return panel.adjusted(-kPanelMargin, -kPanelMargin, kPanelMargin, kPanelMargin);
}

QRect DrawerEdge::panelFrame(const QRect& visible) {
    return QRect(visible.x(), visible.y(), kWidth, visible.height());
}

} // namespace nolvea
