#include "ui/onboarding/SnapshotLayer.h"

#include <QPainter>

#include <algorithm>

namespace nolvea {

SnapshotLayer::SnapshotLayer(QWidget* view, QWidget* parent)
    : QWidget(parent)
    , m_picture(view->grab())
    , m_area(view->mapTo(parent, QPoint(0, 0)), view->size()) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(parent->rect());
    raise();
}

void SnapshotLayer::setLook(const MotionLook& look) {
    if (look == m_look) return;
    m_look = look;
    update();
}

void SnapshotLayer::paintEvent(QPaintEvent*) {
    if (m_look.opacity <= 0.001) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setOpacity(std::clamp(m_look.opacity, 0.0, 1.0));
    const QPointF centre = QRectF(m_area).center();
    p.translate(centre.x() + m_look.dx, centre.y() + m_look.dy);
    p.scale(m_look.scale, m_look.scale);
    p.translate(-centre);
    p.drawPixmap(m_area.topLeft(), m_picture);
}

} // namespace nolvea
