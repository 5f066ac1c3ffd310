#include "support/fakes/ManualClock.h"

#include <algorithm>

namespace nolvea {

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
