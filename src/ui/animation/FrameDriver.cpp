#include "ui/animation/FrameDriver.h"

#include "ui/animation/SpringValue.h"

#include <QEvent>
#include <QWidget>

namespace nolvea {

FrameDriver::FrameDriver(QWidget* widget, std::function<bool(double)> step)
    : QObject(widget)
    , m_widget(widget)
    , m_step(std::move(step))
    , m_time(FrameClock::shared().now()) {
    m_subscription = FrameClock::shared().subscribe([this](double now) { onFrame(now); });
    widget->installEventFilter(this);
    connect(&FrameClock::shared(), &FrameClock::reduceMotionChanged, this, [this](bool on) {
        if (on && m_step) {
            // Springs in flight end where they were going.
            m_step(1e6);
            m_moving = false;
        }
        m_time = FrameClock::shared().now();
        m_lastFrame = -1;
        refresh();
        m_widget->update();
    });
}

FrameDriver::~FrameDriver() = default;

void FrameDriver::setContinuous(bool on) {
    if (m_continuous == on) return;
    m_continuous = on;
    m_time = FrameClock::shared().now();
    refresh();
}

void FrameDriver::kick() {
    m_moving = true;
    m_lastFrame = -1;
    refresh();
    m_widget->update();
}

bool FrameDriver::isActive() const {
    return m_subscription->isActive();
}

void FrameDriver::animate(SpringValue& spring, double target, const SpringSpec& spec) {
    if (FrameClock::shared().reduceMotion() || !m_widget->isVisible()) {
        spring.jump(target);
        m_widget->update();
        return;
    }
    spring.retarget(target, spec);
    kick();
}

bool FrameDriver::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_widget && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        if (event->type() == QEvent::Show) m_time = FrameClock::shared().now();
        m_lastFrame = -1;
        refresh();
    }
    return false;
}

void FrameDriver::refresh() {
    const bool visible = m_widget->isVisible();
    m_subscription->setActive(visible && (m_continuous || m_moving));
}

void FrameDriver::onFrame(double now) {
    // Half a tick of slack, so a late tick does not push the frame a whole tick further.
    const double slack = FrameClock::kIntervalMs / 2000.0;
    if (m_lastFrame >= 0 && now - m_lastFrame < m_minimumInterval - slack) return;
    ++m_frames;
    const double dt = m_lastFrame < 0 ? FrameClock::kIntervalMs / 1000.0 : now - m_lastFrame;
    m_lastFrame = now;
    m_time = now;
    if (m_moving) m_moving = m_step ? m_step(dt) : false;
    refresh();
    m_widget->update();
}

} // namespace nolvea
