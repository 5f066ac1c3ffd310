#include "support/Clock.h"

#include "support/Error.h"
#include "support/Promise.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
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

// ---------------------------------------------------------------------------------------------

struct ManualClock::Entry {
    Duration due;
    Duration interval;
    bool repeating;
    bool active = true;
    std::function<void()> fn;
};

class ManualClock::Timer final : public ClockTimer {
public:
    explicit Timer(std::shared_ptr<Entry> e)
        : m_entry(std::move(e)) {}
    ~Timer() override { stop(); }
    void stop() override { m_entry->active = false; }
    bool isActive() const override { return m_entry->active; }

private:
    std::shared_ptr<Entry> m_entry;
};

ManualClock::ManualClock(QDateTime start)
    : m_start(std::move(start))
    , m_entries(std::make_shared<std::vector<std::shared_ptr<Entry>>>()) {}

ManualClock::~ManualClock() = default;

QDateTime ManualClock::now() const {
    return m_start.addMSecs(m_elapsed.count());
}

Clock::Duration ManualClock::uptime() const {
    return m_elapsed;
}

std::unique_ptr<ClockTimer> ManualClock::schedule(Duration delay, bool repeating,
                                                  std::function<void()> fn) {
    auto e = std::make_shared<Entry>(
        Entry{m_elapsed + delay, std::max(delay, Duration(1)), repeating, true, std::move(fn)});
    m_entries->push_back(e);
    return std::make_unique<Timer>(e);
}

void ManualClock::advance(Duration by) {
    const Duration target = m_elapsed + by;
    for (;;) {
        std::erase_if(*m_entries, [](const auto& e) { return !e->active; });
        auto next = std::min_element(m_entries->begin(), m_entries->end(),
                                     [](const auto& a, const auto& b) { return a->due < b->due; });
        if (next == m_entries->end() || (*next)->due > target) break;
        auto entry = *next;
        m_elapsed = std::max(m_elapsed, entry->due);
        if (entry->repeating)
            entry->due += entry->interval;
        else
            entry->active = false;
        auto fn = entry->fn; // the callback may stop or replace its own timer
        fn();
    }
    m_elapsed = target;
}

void ManualClock::setNow(const QDateTime& when) {
    m_start = when.addMSecs(-m_elapsed.count());
}

int ManualClock::pendingTimers() const {
    return int(std::count_if(m_entries->begin(), m_entries->end(),
                             [](const auto& e) { return e->active; }));
}

} // namespace nolvea
