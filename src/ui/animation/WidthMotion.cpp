#include "ui/animation/WidthMotion.h"

#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"

#include <QEvent>
#include <QWidget>

#include <cmath>

namespace nolvea {

WidthMotion::WidthMotion(QWidget* target, SpringSpec spring)
    : QObject(target)
    , m_target(target)
    , m_spring(spring) {
    m_driver = new FrameDriver(target, [this](double dt) { return step(dt); });
    target->installEventFilter(this);
}

WidthMotion::~WidthMotion() {
    // The driver belongs to the target, which may outlive this.
    delete m_driver;
}

double WidthMotion::width() const {
    return m_holding ? m_width.value() : m_target->width();
}

void WidthMotion::change(const std::function<void()>& apply) {
    const bool moving = m_target->isVisible() && !FrameClock::shared().reduceMotion();
    // From where it is drawn now, mid-flight included.
    const double from = m_holding ? m_width.value() : m_target->width();
    apply();
    const int to = m_target->sizeHint().width();
    if (!moving || !m_target->isVisible()) {
        release();
        return;
    }
    if (!m_holding && std::abs(from - to) < 0.5) return;
    if (!m_holding) {
        m_width.jump(from);
        hold(from);
    }
    m_width.retarget(to, m_spring);
    m_driver->kick();
}

bool WidthMotion::step(double dt) {
    if (!m_holding) return false;
    const bool moving = m_width.advance(dt);
    if (moving)
        hold(m_width.value());
    else
        release();
    return moving;
}

void WidthMotion::hold(double width) {
    if (!m_holding) {
        m_minimum = m_target->minimumWidth();
        m_maximum = m_target->maximumWidth();
        m_holding = true;
    }
    m_target->setFixedWidth(std::max(0, int(std::lround(width))));
}

void WidthMotion::release() {
    if (!m_holding) return;
    m_holding = false;
    m_target->setMinimumWidth(m_minimum);
    m_target->setMaximumWidth(m_maximum);
}

void WidthMotion::centreCompanion() {
    QWidget* companion = m_companion ? m_companion() : nullptr;
    if (!companion || companion->parentWidget() != m_target->parentWidget()) return;
    companion->move(m_target->x() + (m_target->width() - companion->width()) / 2, companion->y());
}

bool WidthMotion::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            centreCompanion();
            break;
        case QEvent::Hide:
            // A hidden widget gets no frames: it lands, and sizes itself when it comes back.
            m_width.jump(m_width.target());
            release();
            break;
        default:
            break;
        }
    }
    return false;
}

} // namespace nolvea
