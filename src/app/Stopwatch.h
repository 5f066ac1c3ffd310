#pragma once

#include "support/Clock.h"

namespace nolvea {

// Seconds since it was made, on the shared clock.
class Stopwatch {
public:
    Stopwatch()
        : m_start(Clock::shared().uptime()) {}

    double seconds() const { return double((Clock::shared().uptime() - m_start).count()) / 1000.0; }

private:
    Clock::Duration m_start;
};

} // namespace nolvea
