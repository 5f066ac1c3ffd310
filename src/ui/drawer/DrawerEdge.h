#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

namespace nolvea {

// Where the drawer watches the pointer: the left edge of each screen, away from its corners,
// and the panel with a small margin around it.
class DrawerEdge {
public:
    static constexpr int kCornerMargin = 40;
    static constexpr int kPanelMargin = 6;
    static constexpr int kWidth = 400;

    // The screen under `p`; the first screen when none is; none without screens.
    static std::optional<QRect> screenAt(const QList<QRect>& screens, QPoint p);
    // Pressed against the left edge of `screen`, more than 40 points from top and bottom.
    static bool inHotZone(const QRect& screen, QPoint p);
    // The panel's frame grown by 6 points on every side.
    static QRect grown(const QRect& panel);
    // The panel's frame on a screen whose usable area is `visible`.
    static QRect panelFrame(const QRect& visible);

    DrawerEdge() = delete;
};

} // namespace nolvea
