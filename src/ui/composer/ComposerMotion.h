#pragma once

#include "ui/animation/MotionPose.h"
#include "ui/animation/TransitionLook.h"
#include "ui/components/Theme.h"

namespace nolvea {

// How the composer moves: its pieces rising in one after another, chips popping in and out,
// the Cc row and the warning coming and going.
class ComposerMotion {
public:
    static constexpr int kPieces = 5; // header, original, fields, body, footer
    static constexpr double kStaggerStep = 0.05;
    static constexpr double kRise = 8;

    struct Timing {
        SpringSpec spring;
        double delay = 0;
        bool operator==(const Timing&) const = default;
    };
    // The entrance of piece `index` (0 the header … 4 the footer).
    static Timing entrance(int index);
    static MotionPose entrancePose(double progress);

    enum class Change {
        recipients, // a chip added or removed
        ccRow,      // the Cc row shown
        warning,    // the footer's warning
        original,   // the quoted message arriving or leaving
        unfold      // the quoted message unfolding or folding
    };
    static SpringSpec spring(Change change);

    // A chip grows from 0.7 of its size about its centre as it fades in, and shrinks out.
    static MotionPose chipPose(double progress);
    static MotionPose fade(double progress);
    // A label giving way to another, one fading out as the other fades in.
    static TransitionLook crossFade(double progress);

    ComposerMotion() = delete;
};

} // namespace nolvea
