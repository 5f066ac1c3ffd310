#include "ui/animation/MotionEffect.h"

#include <QPainter>

#include <algorithm>

namespace nolvea {

MotionEffect::MotionEffect(QObject* parent)
    : QGraphicsEffect(parent) {}

void MotionEffect::setPose(const Pose& pose) {
    if (pose == m_pose) return;
    m_pose = pose;
    updateBoundingRect();
    update();
}

QTransform MotionEffect::transformFor(const QRectF& source) const {
    const QPointF centre = source.center();
    QTransform t;
    t.translate(m_pose.offset.x() + centre.x(), m_pose.offset.y() + centre.y());
    t.scale(m_pose.scale, m_pose.scale);
    t.translate(-centre.x(), -centre.y());
    return t;
}

QRectF MotionEffect::boundingRectFor(const QRectF& rect) const {
    return rect | transformFor(rect).mapRect(rect);
}

void MotionEffect::draw(QPainter* painter) {
    if (m_pose.isIdentity()) {
        drawSource(painter);
        return;
    }
    const double opacity = std::clamp(m_pose.opacity, 0.0, 1.0);
    if (opacity <= 0) return;
    QPoint origin;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &origin, NoPad);
    if (pixmap.isNull()) return;
    painter->save();
    painter->setOpacity(painter->opacity() * opacity);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, m_pose.scale != 1);
    painter->setWorldTransform(transformFor(sourceBoundingRect(Qt::LogicalCoordinates)), true);
    painter->drawPixmap(origin, pixmap);
    painter->restore();
}

} // namespace nolvea
