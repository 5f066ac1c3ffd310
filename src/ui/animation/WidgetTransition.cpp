#include "ui/animation/WidgetTransition.h"

#include <QWidget>

namespace nolvea {

WidgetTransition::WidgetTransition(QWidget* target, Look look, bool shown)
    : QObject(target)
    , m_target(target)
    , m_look(std::move(look))
    , m_progress(shown ? 1 : 0) {
    m_subscription = FrameClock::shared().subscribe([this](double now) { frame(now); });
    connect(&FrameClock::shared(), &FrameClock::reduceMotionChanged, this, [this](bool on) {
        if (on && isMoving()) {
            m_progress.jump(m_progress.target());
            settle();
        }
    });
    apply();
}

WidgetTransition::~WidgetTransition() = default;

MotionEffect* WidgetTransition::effect() const {
    return m_target ? qobject_cast<MotionEffect*>(m_target->graphicsEffect()) : nullptr;
}

void WidgetTransition::setOnProgress(std::function<void(double)> onProgress) {
    m_onProgress = std::move(onProgress);
    if (m_onProgress) m_onProgress(progress());
}

void WidgetTransition::appear(const SpringSpec& spring, double delay) {
    m_gone = {};
    m_delay = delay;
    m_progress.retarget(1, spring);
    start();
}

void WidgetTransition::disappear(const SpringSpec& spring, std::function<void()> gone) {
    m_gone = std::move(gone);
    m_delay = 0;
    m_progress.retarget(0, spring);
    start();
}

void WidgetTransition::jump(bool shown) {
    m_gone = {};
    m_delay = 0;
    m_progress.jump(shown ? 1 : 0);
    m_subscription->setActive(false);
    apply();
}

void WidgetTransition::start() {
    if (FrameClock::shared().reduceMotion() || m_progress.isSettled()) {
        m_progress.jump(m_progress.target());
        settle();
        return;
    }
    m_last = -1;
    m_subscription->setActive(true);
    apply();
}

void WidgetTransition::frame(double now) {
    double dt = m_last < 0 ? FrameClock::kIntervalMs / 1000.0 : now - m_last;
    m_last = now;
    if (m_delay > 0) {
        const double waited = std::min(m_delay, dt);
        m_delay -= waited;
        dt -= waited;
        if (m_delay > 0) return;
    }
    if (!m_progress.advance(dt)) {
        settle();
        return;
    }
    apply();
}

void WidgetTransition::settle() {
    m_subscription->setActive(false);
    apply();
    if (m_progress.target() == 0 && m_gone) std::exchange(m_gone, {})();
}

void WidgetTransition::apply() {
    if (m_onProgress) m_onProgress(progress());
    if (!m_target) return;
    const MotionEffect::Pose pose = m_look(progress());
    MotionEffect* current = effect();
    if (pose.isIdentity()) {
        // At rest the widget draws itself: no offscreen copy, nothing between it and its own
        // children's effects.
        if (current) m_target->setGraphicsEffect(nullptr);
        return;
    }
    if (!current) {
        current = new MotionEffect;
        m_target->setGraphicsEffect(current);
    }
    current->setPose(pose);
}

} // namespace nolvea
