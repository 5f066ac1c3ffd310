#pragma once

#include <QPointF>
#include <QRectF>
#include <QTransform>

namespace nolvea {

// How a view looks part-way through coming in or going away: scaled about an anchor (given as
// a fraction of its bounds), moved, faded and blurred. The default value is the view at rest.
struct TransitionLook {
    double scale = 1;
    QPointF anchor{0.5, 0.5};
    QPointF offset{};
    double opacity = 1;
    double blur = 0; // standard deviation, in pixels

    bool operator==(const TransitionLook&) const = default;

    bool isIdentity() const;
    // The painter transform for a view drawn in `bounds`.
    QTransform transform(const QRectF& bounds) const;
    // This look with `outer` applied on top: scales multiply, offsets add, opacities multiply.
    TransitionLook then(const TransitionLook& outer) const;
};

} // namespace nolvea
