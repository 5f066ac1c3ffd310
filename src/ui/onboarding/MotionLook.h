#pragma once

namespace nolvea {

// How a view is drawn at one moment of a transition: faded, moved, scaled about its centre
// and blurred. The default is the view at rest.
struct MotionLook {
    double opacity = 1;
    double dx = 0;
    double dy = 0;
    double scale = 1;
    double blur = 0;

    bool isAtRest() const { return *this == MotionLook{}; }
    bool operator==(const MotionLook&) const = default;
};

} // namespace nolvea
