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
// `Clock::shared()`, so tests can install a `ManualClock` and move time by hand.
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

// A clock that moves only when told: `advance` fires every timer that falls due, in order.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 12, 9), QTime(8, 0), Qt::UTC));
    ~ManualClock() override;

    QDateTime now() const override;
    Duration uptime() const override;
    std::unique_ptr<ClockTimer> schedule(Duration delay, bool repeating,
                                         std::function<void()> fn) override;

    void advance(Duration by);
    void setNow(const QDateTime& when);
    int pendingTimers() const;

private:
    struct Entry;
    class Timer;
    QDateTime m_start;
    Duration m_elapsed{0};
    std::shared_ptr<std::vector<std::shared_ptr<Entry>>> m_entries;
};

} // namespace nolvea
