#pragma once

#include "ui/animation/MotionPose.h"
#include "ui/animation/TransitionLook.h"
#include "ui/components/Theme.h"

namespace nolvea {

// How the drawer moves: which spring each change takes and the poses of what comes and goes.
class DrawerMotion {
public:
    enum class Change {
        open,     // the card slides in from the left edge
        close,    // and out again
        expand,   // a row unfolds its conversation
        collapse, // and folds it
        hover,    // a row's fill and chevron under the pointer
        query,    // the search's clear button
        remove,   // a deleted entry's row, or all of them when the history is cleared
        counts,   // the header's digits rolling to new numbers
        confirm,  // the clear-all button's label turning to its question and back
        copied    // the copy button's label turning to "Copiado"
    };
    static SpringSpec spring(Change change);

    // The card at `progress` (0 off to the left, 1 in place), `travel` points from its place
    // to where it is hidden behind the screen's edge.
    static MotionPose card(double progress, double travel);
    // What fades as it comes: a row's conversation, the search's clear button.
    static MotionPose fade(double progress);
    // A button's old and new labels, one fading out as the other fades in.
    static TransitionLook crossFade(double progress);
    // The chevron's turn in degrees: a quarter turn once expanded.
    static double chevronAngle(double progress) { return 90 * progress; }
    // A row's fill: stronger when expanded than when only hovered.
    static double rowFill(bool expanded, bool hovering);

    DrawerMotion() = delete;
};

} // namespace nolvea
