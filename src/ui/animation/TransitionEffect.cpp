#include "ui/animation/TransitionEffect.h"

#include "ui/components/Blur.h"

#include <QPainter>

#include <cmath>

namespace nolvea {

TransitionEffect::TransitionEffect(QObject* parent)
    : QGraphicsEffect(parent) {
    setEnabled(false);
}

void TransitionEffect::setLook(const TransitionLook& look) {
    if (look == m_look) return;
    m_look = look;
    setEnabled(!look.isIdentity());
    updateBoundingRect();
    update();
}

QRectF TransitionEffect::boundingRectFor(const QRectF& rect) const {
    const double pad = std::ceil(3 * m_look.blur);
    const QRectF moved = m_look.transform(rect).mapRect(rect);
    return rect.united(moved).adjusted(-pad, -pad, pad, pad);
}

void TransitionEffect::draw(QPainter* painter) {
    if (m_look.isIdentity()) {
        drawSource(painter);
        return;
    }
    if (m_look.opacity <= 0) return;
    QPoint offset;
    const QPixmap source =
        sourcePixmap(Qt::LogicalCoordinates, &offset,
                     m_look.blur > 0 ? QGraphicsEffect::PadToEffectiveBoundingRect
                                     : QGraphicsEffect::PadToTransparentBorder);
    if (source.isNull()) return;
    const QRectF bounds = sourceBoundingRect(Qt::LogicalCoordinates);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(painter->opacity() * m_look.opacity);
    painter->setTransform(m_look.transform(bounds), true);
    if (m_look.blur > 0.05) {
        QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const qreal dpr = source.devicePixelRatio();
        image = blurred(image, m_look.blur * dpr);
        image.setDevicePixelRatio(dpr);
        painter->drawImage(offset, image);
    } else {
        painter->drawPixmap(offset, source);
    }
    painter->restore();
}

} // namespace nolvea
