#pragma once

#include "support/Clock.h"

#include <QDateTime>

#include <memory>
#include <vector>

namespace nolvea {

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
