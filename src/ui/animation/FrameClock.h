#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace nolvea {

class ClockTimer;

// The one frame clock of the screens, at most 60 frames a second. It ticks only while some
// subscription is active, so animations that nobody sees cost nothing; with reduce motion on,
// continuous motion stops and springs jump to their targets.
class FrameClock : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)

public:
    static constexpr int kIntervalMs = 17;

    class Subscription {
    public:
        ~Subscription();
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        void setActive(bool active);
        bool isActive() const { return m_active; }

    private:
        friend class FrameClock;
        Subscription(FrameClock* clock, std::function<void(double)> onFrame);
        FrameClock* m_clock;
        std::function<void(double)> m_onFrame;
        bool m_active = false;
    };

    static FrameClock& shared();
    ~FrameClock() override;

    // Seconds since 1 January 2001 UTC, read from the injectable clock.
    double now() const;
    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool on);
    bool isRunning() const;

    // `onFrame` receives `now()` on every tick while the subscription is active.
    std::unique_ptr<Subscription> subscribe(std::function<void(double)> onFrame);

    // The desktop's own wish: GTK's "gtk-enable-animations=false" asks for reduced motion.
    static bool desktopAsksReducedMotion();

Q_SIGNALS:
    void reduceMotionChanged(bool on);

private:
    FrameClock();
    void update();
    void tick();

    bool m_reduceMotion = false;
    std::vector<Subscription*> m_subscriptions;
    std::unique_ptr<ClockTimer> m_timer;
};

} // namespace nolvea
