#pragma once

#include "support/CancelToken.h"

#include <QDateTime>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>
#include <memory>

namespace nolvea {

// A timer made by a clock; dropping it stops it.
class ClockTimer {
public:
    virtual ~ClockTimer() = default;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// Time and timers, injectable: code reads the time and arms its delays through
// `Clock::shared()`, so tests can install a clock of their own and move time by hand.
class Clock {
public:
    using Duration = std::chrono::milliseconds;

    virtual ~Clock() = default;

    // Wall-clock time, UTC.
    virtual QDateTime now() const;
    // Monotonic time since an arbitrary origin.
    virtual Duration uptime() const;
    // Runs `fn` after `delay` (and every `delay` when repeating) on the calling thread's
    // event loop, until the timer is stopped or destroyed.
    virtual std::unique_ptr<ClockTimer> schedule(Duration delay, bool repeating,
                                                 std::function<void()> fn);

    // Resumes after `delay`; throws `Cancelled` at once when `cancel` fires first.
    QCoro::Task<> sleep(Duration delay, CancelToken cancel = {});

    static Clock& shared();
    // Installs a clock for the whole process (tests); nullptr puts the system clock back.
    static void install(Clock* clock);
};

} // namespace nolvea
