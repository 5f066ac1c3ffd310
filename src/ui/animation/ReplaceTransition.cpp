#include "ui/animation/ReplaceTransition.h"

#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/TransitionEffect.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace nolvea {

namespace {

class Picture : public QWidget {
public:
    Picture(QPixmap picture, QWidget* parent)
        : QWidget(parent)
        , m_picture(std::move(picture)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, m_picture); }

private:
    QPixmap m_picture;
};

} // namespace

ReplaceTransition::ReplaceTransition(QWidget* target, SpringSpec spring, Look look)
    : QObject(target)
    , m_target(target)
    , m_spring(spring)
    , m_look(std::move(look))
    , m_effect(new TransitionEffect) {
    m_target->setGraphicsEffect(m_effect);
    m_driver = new FrameDriver(target, [this](double dt) { return step(dt); });
}

void ReplaceTransition::aboutToChange() {
    if (!m_target->isVisible() || FrameClock::shared().reduceMotion() || !m_target->parentWidget())
        return;
    delete m_ghost;
    m_effect->setLook({});
    // Only what the widget draws itself: the window's background behind it is not its look.
    const qreal dpr = m_target->devicePixelRatioF();
    QPixmap picture(m_target->size() * dpr);
    picture.setDevicePixelRatio(dpr);
    picture.fill(Qt::transparent);
    m_target->render(&picture, {}, {}, QWidget::DrawChildren);
    auto* ghost = new Picture(picture, m_target->parentWidget());
    ghost->setGeometry(m_target->geometry());
    ghost->show();
    m_ghost = ghost;
    m_ghostEffect = new TransitionEffect;
    ghost->setGraphicsEffect(m_ghostEffect);
    m_out.jump(true);
    m_out.disappear(m_spring);
    m_in.jump(false);
    m_in.appear(m_spring);
    apply();
    m_driver->kick();
}

bool ReplaceTransition::isRunning() const {
    return m_out.isPresent() || std::abs(m_in.progress() - 1) > 1e-3;
}

bool ReplaceTransition::step(double dt) {
    bool moving = m_in.advance(dt);
    moving = m_out.advance(dt) || moving;
    apply();
    return moving;
}

void ReplaceTransition::apply() {
    m_effect->setLook(m_look(m_in.progress()));
    if (!m_ghost) return;
    if (!m_out.isPresent()) {
        delete m_ghost;
        return;
    }
    m_ghostEffect->setLook(m_look(m_out.progress()));
}

} // namespace nolvea
