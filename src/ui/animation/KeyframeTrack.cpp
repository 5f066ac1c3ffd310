#include "ui/animation/KeyframeTrack.h"

#include "ui/animation/SpringValue.h"

#include <algorithm>

namespace nolvea {

KeyframeTrack::KeyframeTrack(double start, std::vector<Keyframe> keyframes)
    : m_start(start)
    , m_keyframes(std::move(keyframes)) {}

double KeyframeTrack::duration() const {
    double d = 0;
    for (const auto& k : m_keyframes)
        d += k.duration;
    return d;
}

double KeyframeTrack::valueAt(double elapsed) const {
    if (m_keyframes.empty()) return m_start;
    if (elapsed >= duration()) return m_keyframes.back().target;
    SpringValue spring(m_start);
    double left = std::max(0.0, elapsed);
    for (const auto& k : m_keyframes) {
        const double v = spring.value();
        const double dv = spring.velocity();
        spring.retarget(k.target, k.spring);
        spring.setState(v, dv);
        const double run = std::min(left, k.duration);
        spring.advance(run);
        left -= run;
        if (left <= 0) break;
    }
    return spring.value();
}

} // namespace nolvea
