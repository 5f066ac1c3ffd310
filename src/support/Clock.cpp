#include "support/Clock.h"

#include "support/Error.h"
#include "support/Promise.h"

#include <QElapsedTimer>
#include <QTimer>

#include <atomic>

namespace nolvea {

namespace {

std::atomic<Clock*> g_installed{nullptr};

class QtClockTimer final : public ClockTimer {
public:
    QtClockTimer(Clock::Duration delay, bool repeating, std::function<void()> fn) {
        m_timer.setSingleShot(!repeating);
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(delay);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(fn));
        m_timer.start();
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

QDateTime Clock::now() const {
    return QDateTime::currentDateTimeUtc();
}

Clock::Duration Clock::uptime() const {
    static const auto origin = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - origin);
}

std::unique_ptr<ClockTimer> Clock::schedule(Duration delay, bool repeating,
                                            std::function<void()> fn) {
    return std::make_unique<QtClockTimer>(delay, repeating, std::move(fn));
}

QCoro::Task<> Clock::sleep(Duration delay, CancelToken cancel) {
    cancel.check();
    Promise<> done;
    auto timer = schedule(delay, false, [done]() mutable { done.resolve(); });
    auto reg =
        cancel.onCancel([done]() mutable { done.reject(std::make_exception_ptr(Cancelled())); });
    co_await done;
}

Clock& Clock::shared() {
    static Clock system;
    Clock* c = g_installed.load();
    return c ? *c : system;
}

void Clock::install(Clock* clock) {
    g_installed.store(clock);
}

} // namespace nolvea
