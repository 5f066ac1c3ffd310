#include "ui/components/LiquidAppear.h"

#include <QPainter>

namespace nolvea {

void LiquidAppear::apply(QPainter& p, const QRectF& bounds, const EffectsModel::Appearance& a) {
    const QPointF anchor(bounds.center().x(), bounds.bottom());
    p.translate(0, a.offsetY);
    p.translate(anchor);
    p.scale(a.scale, a.scale);
    p.translate(-anchor);
    p.setOpacity(p.opacity() * a.opacity);
}

} // namespace nolvea
