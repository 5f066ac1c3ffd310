#pragma once

#include "support/Clock.h"

namespace nolvea {

// Decides when follow-up listening has heard its reply: once the person spoke and then fell
// silent, or when nothing was said at all. Loudness is judged against the quietest level of
// the first moments, so a noisy room does not count as speech. Fed one level a tick.
class SilenceWatcher {
public:
    static constexpr Clock::Duration tick{100};
    // How long it measures the quiet floor, how long a pause ends the reply, how long it
    // waits for a first word, and its cap.
    static constexpr Clock::Duration calibration{400}, silence{1600}, noSpeech{8000}, cap{60'000};
    // How far above the floor a level counts as speech.
    static constexpr float margin = 0.15f;

    enum class Verdict { listen, stop, cancel };

    // `elapsed`: time since listening began; `level`: the latest level, 0 to 1.
    Verdict feed(Clock::Duration elapsed, float level);

    bool heardSpeech() const { return m_heard; }

private:
    float m_floor = 1.0f;
    bool m_heard = false;
    Clock::Duration m_lastLoud{0};
};

} // namespace nolvea
