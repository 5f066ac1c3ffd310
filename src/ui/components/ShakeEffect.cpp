#include "ui/components/ShakeEffect.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/EffectsModel.h"

#include <QWidget>

#include <cmath>

namespace nolvea {

ShakeEffect::ShakeEffect(QWidget* target, int trigger)
    : QObject(target)
    , m_target(target)
    , m_trigger(trigger) {
    m_driver = new FrameDriver(target, [this](double) { return step(); });
}

double ShakeEffect::offset() const {
    if (m_start < 0) return 0;
    return EffectsModel::shakeTrack().valueAt(m_driver->time() - m_start);
}

void ShakeEffect::setTrigger(int trigger) {
    if (trigger == m_trigger) return;
    m_trigger = trigger;
    if (!m_target || FrameClock::shared().reduceMotion()) return;
    if (m_start < 0) m_rest = m_target->pos();
    m_start = FrameClock::shared().now();
    m_driver->kick();
}

bool ShakeEffect::step() {
    if (!m_target || m_start < 0) return false;
    const double elapsed = m_driver->time() - m_start;
    const auto track = EffectsModel::shakeTrack();
    if (elapsed >= track.duration()) {
        m_start = -1;
        m_target->move(m_rest);
        return false;
    }
    m_target->move(m_rest + QPoint(int(std::lround(track.valueAt(elapsed))), 0));
    return true;
}

} // namespace nolvea
