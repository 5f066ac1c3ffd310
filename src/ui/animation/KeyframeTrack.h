#pragma once

#include "ui/components/Theme.h"

#include <vector>

namespace nolvea {

// A value that runs through spring keyframes one after the other: each keyframe springs
// towards its target for its duration, then the next one takes over from that position and
// velocity. The track is a pure function of the time since it started.
class KeyframeTrack {
public:
    struct Keyframe {
        double target;
        double duration;
        SpringSpec spring;
    };

    KeyframeTrack(double start, std::vector<Keyframe> keyframes);

    double duration() const;
    // The value `elapsed` seconds after the start; the last target once the track is over.
    double valueAt(double elapsed) const;

    // The platform's default spring of keyframes: half a second, no bounce.
    static SpringSpec defaultSpring() { return {0.5, 1.0, 0}; }

private:
    double m_start;
    std::vector<Keyframe> m_keyframes;
};

} // namespace nolvea
