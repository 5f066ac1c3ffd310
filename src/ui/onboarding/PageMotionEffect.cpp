#include "ui/onboarding/PageMotionEffect.h"

#include "ui/components/Blur.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace nolvea {

PageMotionEffect::PageMotionEffect(QObject* parent)
    : QGraphicsEffect(parent) {}

void PageMotionEffect::setLook(const MotionLook& look) {
    if (look == m_look) return;
    const bool grows = look.blur > m_look.blur || look.scale > m_look.scale ||
                       std::abs(look.dx) > std::abs(m_look.dx) ||
                       std::abs(look.dy) > std::abs(m_look.dy);
    m_look = look;
    if (grows) updateBoundingRect();
    update();
}

QRectF PageMotionEffect::boundingRectFor(const QRectF& rect) const {
    const double grow = std::max(0.0, m_look.scale - 1) / 2;
    const double pad = 3 * m_look.blur;
    QRectF r = rect.adjusted(-rect.width() * grow - pad, -rect.height() * grow - pad,
                             rect.width() * grow + pad, rect.height() * grow + pad);
    return r | r.translated(m_look.dx, m_look.dy) | rect;
}

void PageMotionEffect::draw(QPainter* painter) {
    if (m_look.isAtRest()) {
        drawSource(painter);
        return;
    }
    if (m_look.opacity <= 0.001) return;
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
    if (source.isNull()) return;
    const double dpr = source.devicePixelRatio();
    const QRectF area(offset, QSizeF(source.size()) / dpr);
    QPixmap picture = source;
    QPointF blurOffset;
    if (m_look.blur > 0.5) {
        // Room around the picture for the blur to spread into.
        const int pad = int(std::ceil(3 * m_look.blur * dpr));
        QImage padded(source.size() + QSize(2 * pad, 2 * pad), QImage::Format_ARGB32_Premultiplied);
        padded.fill(Qt::transparent);
        {
            QPainter p(&padded);
            p.drawPixmap(pad, pad, source);
        }
        picture = QPixmap::fromImage(blurred(padded, m_look.blur * dpr));
        picture.setDevicePixelRatio(dpr);
        blurOffset = QPointF(pad, pad) / dpr;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(painter->opacity() * std::clamp(m_look.opacity, 0.0, 1.0));
    const QPointF centre = area.center();
    painter->translate(centre.x() + m_look.dx, centre.y() + m_look.dy);
    painter->scale(std::max(0.0, m_look.scale), std::max(0.0, m_look.scale));
    painter->translate(-centre);
    painter->drawPixmap(area.topLeft() - blurOffset, picture);
    painter->restore();
}

} // namespace nolvea
