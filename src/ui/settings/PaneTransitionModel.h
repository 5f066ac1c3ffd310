#pragma once

#include "ui/components/Theme.h"
#include "ui/settings/PaneLook.h"

namespace nolvea::PaneTransitionModel {

constexpr double kBlurRadius = 12;
constexpr double kScale = 0.96;

// How a pane looks while it is replaced by another: the leaving one blurs, fades and shrinks a
// little; the arriving one comes from that same state and grows to its size. `presence` is 0
// in that state and 1 at rest; the spring may carry it slightly past 1.
PaneLook look(double presence);

// The spring that carries the switch.
const SpringSpec& spring();
// The arriving pane's presence `seconds` after the switch (the leaving one's is 1 minus it).
double presenceAt(double seconds);
// A switch is animated only in a window on screen and when nobody asked for reduced motion;
// otherwise the new pane simply replaces the old.
bool animates(bool reduceMotion, bool onScreen);

} // namespace nolvea::PaneTransitionModel
