#pragma once

#include <functional>

namespace nolvea {

class HotkeyMonitor;

// What the flow needs of the running application for the hotkey test: its push-to-talk
// listener and the switch that keeps the voice controller from starting while keys are tried.
// Either may be empty (a flow opened without a running controller): the test then only shows
// its texts.
struct OnboardingHost {
    std::function<HotkeyMonitor*()> hotkeys;
    std::function<void(bool suspended)> setSuspended;
};

} // namespace nolvea
