#include "ui/animation/Bounce.h"

#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/animation/Transitions.h"

#include <QWidget>

namespace nolvea {

Bounce::Bounce(QWidget* target)
    : QObject(target)
    , m_target(target)
    , m_effect(new TransitionEffect) {
    m_target->setGraphicsEffect(m_effect);
    m_driver = new FrameDriver(target, [this](double dt) { return step(dt); });
}

void Bounce::play() {
    if (FrameClock::shared().reduceMotion()) return;
    m_elapsed = 0;
    m_driver->kick();
}

double Bounce::scale() const {
    return m_elapsed < 0 ? 1 : Transitions::bounce().valueAt(m_elapsed);
}

bool Bounce::step(double dt) {
    if (m_elapsed < 0) return false;
    m_elapsed += dt;
    if (m_elapsed >= Transitions::bounce().duration()) m_elapsed = -1;
    TransitionLook look;
    look.scale = scale();
    m_effect->setLook(look);
    return m_elapsed >= 0;
}

} // namespace nolvea
