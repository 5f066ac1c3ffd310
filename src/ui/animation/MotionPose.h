#pragma once

#include <QPointF>

namespace nolvea {

// How a view is drawn on its way in or out: faded, shifted and scaled about its centre.
struct MotionPose {
    double opacity = 1;
    QPointF offset{};
    double scale = 1;

    bool isIdentity() const { return opacity >= 1 && offset.isNull() && scale == 1; }
    bool operator==(const MotionPose&) const = default;
};

} // namespace nolvea
