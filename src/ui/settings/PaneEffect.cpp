#include "ui/settings/PaneEffect.h"

#include "ui/components/Blur.h"

#include <QPainter>

namespace nolvea {

PaneEffect::PaneEffect(std::optional<QPointF> anchor, QObject* parent)
    : QGraphicsEffect(parent)
    , m_anchor(anchor) {}

void PaneEffect::setLook(const PaneLook& look) {
    if (m_look == look) return;
    m_look = look;
    update();
}

void PaneEffect::paint(QPainter& p, const QPixmap& picture, QPointF at, const PaneLook& look,
                       QPointF anchor) {
    if (picture.isNull() || look.opacity <= 0 || look.scale <= 0) return;
    p.save();
    p.setOpacity(p.opacity() * look.opacity);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(anchor);
    p.scale(look.scale, look.scale);
    p.translate(-anchor);
    const qreal ratio = picture.devicePixelRatio();
    const QRectF target(at, QSizeF(picture.size()) / ratio);
    if (look.blur < 0.5) {
        p.drawPixmap(target, picture, QRectF(picture.rect()));
    } else {
        // Blurred at half size: a quarter of the work, and a blur hides the difference.
        QImage half =
            picture.toImage()
                .scaled(picture.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        p.drawImage(target, blurred(half, look.blur * ratio / 2));
    }
    p.restore();
}

void PaneEffect::draw(QPainter* painter) {
    if (m_look.isAtRest()) {
        drawSource(painter);
        return;
    }
    QPoint offset;
    const QPixmap picture = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
    const QPointF anchor = m_anchor.value_or(boundingRect().center());
    paint(*painter, picture, offset, m_look, anchor);
}

} // namespace nolvea
