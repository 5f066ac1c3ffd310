#pragma once

namespace nolvea {

// How a view looks on its way in or out: faded, blurred (radius in pixels) and scaled about
// its middle. The default is the view at rest.
struct PaneLook {
    double opacity = 1;
    double blur = 0;
    double scale = 1;
    bool operator==(const PaneLook&) const = default;
    bool isAtRest() const { return *this == PaneLook{}; }
};

} // namespace nolvea
