#include "ui/settings/PaneTransitionModel.h"

#include "ui/animation/SpringValue.h"

#include <algorithm>

namespace nolvea::PaneTransitionModel {

PaneLook look(double presence) {
    const double p = std::clamp(presence, 0.0, 1.0);
    // The scale follows the spring past its end, as a view's own size would.
    return {p, (1 - p) * kBlurRadius, kScale + (1 - kScale) * presence};
}

const SpringSpec& spring() {
    return Theme::gentle();
}

double presenceAt(double seconds) {
    SpringValue value(0, spring());
    value.retarget(1, spring());
    value.advance(seconds);
    return value.value();
}

bool animates(bool reduceMotion, bool onScreen) {
    return onScreen && !reduceMotion;
}

} // namespace nolvea::PaneTransitionModel
