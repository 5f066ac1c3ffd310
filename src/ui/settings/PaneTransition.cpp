#include "ui/settings/PaneTransition.h"

#include "ui/animation/FrameDriver.h"
#include "ui/settings/PaneEffect.h"
#include "ui/settings/PaneTransitionModel.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

namespace nolvea {

PaneTransition::PaneTransition(QWidget* column, QPixmap before, QWidget* arriving)
    : QWidget(column)
    , m_before(std::move(before))
    , m_arriving(arriving) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(column->rect());
    column->installEventFilter(this);

    // Both panes shrink towards the middle of what the column shows.
    auto* effect = new PaneEffect(arriving->mapFrom(column, column->rect().center()));
    effect->setLook(PaneTransitionModel::look(0));
    arriving->setGraphicsEffect(effect);
    m_effect = effect;

    m_driver = new FrameDriver(this, [this](double dt) { return step(dt); });
    show();
    raise();
    m_driver->animate(m_presence, 1, PaneTransitionModel::spring());
    // Under reduced motion the spring is already at rest.
    if (m_presence.isSettled()) QTimer::singleShot(0, this, &PaneTransition::finish);
}

PaneTransition::~PaneTransition() {
    release();
}

bool PaneTransition::step(double dt) {
    const bool moving = m_presence.advance(dt);
    if (m_effect) m_effect->setLook(PaneTransitionModel::look(presence()));
    if (!moving) QTimer::singleShot(0, this, &PaneTransition::finish);
    return moving;
}

void PaneTransition::release() {
    // The pane draws itself plainly again.
    if (m_arriving && m_arriving->graphicsEffect() == m_effect)
        m_arriving->setGraphicsEffect(nullptr);
    m_effect.clear();
}

void PaneTransition::finish() {
    if (m_done) return;
    m_done = true;
    m_presence.jump(1);
    release();
    hide();
    Q_EMIT finished();
    deleteLater();
}

void PaneTransition::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double leaving = 1 - presence();
    PaneEffect::paint(p, m_before, {0, 0}, PaneTransitionModel::look(leaving),
                      QRectF(rect()).center());
}

bool PaneTransition::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace nolvea
