#include "ui/animation/FrameClock.h"

#include "support/Clock.h"

#include <QDir>
#include <QSettings>
#include <QTimeZone>

#include <algorithm>

namespace nolvea {

FrameClock::Subscription::Subscription(FrameClock* clock, std::function<void(double)> onFrame)
    : m_clock(clock)
    , m_onFrame(std::move(onFrame)) {}

FrameClock::Subscription::~Subscription() {
    auto& subs = m_clock->m_subscriptions;
    subs.erase(std::remove(subs.begin(), subs.end(), this), subs.end());
    m_clock->update();
}

void FrameClock::Subscription::setActive(bool active) {
    if (m_active == active) return;
    m_active = active;
    m_clock->update();
}

FrameClock& FrameClock::shared() {
    static FrameClock clock;
    static const bool once = [] {
        clock.m_reduceMotion = desktopAsksReducedMotion();
        return true;
    }();
    Q_UNUSED(once);
    return clock;
}

FrameClock::FrameClock() = default;
FrameClock::~FrameClock() = default;

double FrameClock::now() const {
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return double(reference.msecsTo(Clock::shared().now())) / 1000.0;
}

void FrameClock::setReduceMotion(bool on) {
    if (m_reduceMotion == on) return;
    m_reduceMotion = on;
    update();
    Q_EMIT reduceMotionChanged(on);
}

bool FrameClock::isRunning() const {
    return m_timer != nullptr;
}

std::unique_ptr<FrameClock::Subscription>
FrameClock::subscribe(std::function<void(double)> onFrame) {
    std::unique_ptr<Subscription> s(new Subscription(this, std::move(onFrame)));
    m_subscriptions.push_back(s.get());
    return s;
}

void FrameClock::update() {
    const bool wanted =
        !m_reduceMotion && std::any_of(m_subscriptions.begin(), m_subscriptions.end(),
                                       [](const Subscription* s) { return s->m_active; });
    if (wanted && !m_timer) {
        m_timer = Clock::shared().schedule(std::chrono::milliseconds(kIntervalMs), true,
                                           [this] { tick(); });
    } else if (!wanted && m_timer) {
        m_timer.reset();
    }
}

void FrameClock::tick() {
    const double t = now();
    // A callback may end or add subscriptions: walk a copy and skip the ones gone meanwhile.
    const auto subs = m_subscriptions;
    for (auto* s : subs) {
        if (std::find(m_subscriptions.begin(), m_subscriptions.end(), s) == m_subscriptions.end())
            continue;
        if (s->m_active && s->m_onFrame) s->m_onFrame(t);
    }
}

bool FrameClock::desktopAsksReducedMotion() {
    const QString config = qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")
                               ? QDir::homePath() + "/.config"
                               : qEnvironmentVariable("XDG_CONFIG_HOME");
    for (const char* folder : {"gtk-4.0", "gtk-3.0"}) {
        const QString path = config + "/" + folder + "/settings.ini";
        if (!QFile::exists(path)) continue;
        QSettings ini(path, QSettings::IniFormat);
        const QVariant v = ini.value("Settings/gtk-enable-animations");
        if (!v.isValid()) continue;
        const QString s = v.toString().trimmed().toLower();
        return s == "false" || s == "0" || s == "no";
    }
    return false;
}

} // namespace nolvea
