#include "speech/SilenceWatcher.h"

#include <algorithm>

namespace nolvea {

SilenceWatcher::Verdict SilenceWatcher::feed(Clock::Duration elapsed, float level) {
    if (elapsed <= calibration) {
        m_floor = std::min(m_floor, level);
        return Verdict::listen;
    }
    if (level > std::min(m_floor + margin, 0.95f)) {
        m_heard = true;
        m_lastLoud = elapsed;
    }
    if (m_heard)
        return elapsed - m_lastLoud >= silence || elapsed >= cap ? Verdict::stop : Verdict::listen;
    return elapsed >= noSpeech || elapsed >= cap ? Verdict::cancel : Verdict::listen;
}

} // namespace nolvea
