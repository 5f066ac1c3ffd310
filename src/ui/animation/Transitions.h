#pragma once

#include "ui/animation/KeyframeTrack.h"
#include "ui/animation/TransitionLook.h"

namespace nolvea {

// The transitions the screens share, as looks for a progress between 0 (the view being
// inserted or removed) and 1 (at rest). A spring may carry the progress a little past 1.
class Transitions {
public:
    static constexpr double kBlurReplaceScale = 0.8;
    static constexpr double kBlurReplaceBlur = 8;

    // Blurred, smaller and clear while it comes or goes ("down-up": it grows in and shrinks
    // out), about its centre.
    static TransitionLook blurReplace(double progress);
    // Scaled from `from` about `anchor` (a fraction of the bounds) while fading.
    static TransitionLook scaleFade(double from, QPointF anchor, double progress);
    // Shrunk about the bottom centre, dropped and faded: the pill's whole glass group.
    static TransitionLook liquidAppear(double progress);
    // Moved `distance` pixels down and faded: a line that rises into place.
    static TransitionLook rise(double distance, double progress);

    // A symbol's bounce: its scale over time, up, a little under, and back to 1.
    static KeyframeTrack bounce();

    Transitions() = delete;
};

} // namespace nolvea
