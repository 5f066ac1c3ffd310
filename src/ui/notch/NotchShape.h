#pragma once

#include <QPainterPath>
#include <QRectF>

namespace nolvea {

// The island's outline: flared top shoulders that blend into the top edge, a narrower body
// and rounded bottom corners. Both radii are capped by the island's own size.
struct NotchShape {
    double topRadius = 8;
    double bottomRadius = 13;

    bool operator==(const NotchShape&) const = default;

    struct Radii {
        double top = 0;
        double bottom = 0;
        bool operator==(const Radii&) const = default;
    };

    // The radii drawn in `rect`: never more than the rectangle allows, never negative.
    Radii fitted(const QRectF& rect) const;
    QPainterPath path(const QRectF& rect) const;
};

} // namespace nolvea
