#include "ui/notch/NotchShape.h"

#include <algorithm>

namespace nolvea {

NotchShape::Radii NotchShape::fitted(const QRectF& rect) const {
    const double w = rect.width(), h = rect.height();
    const double rt = std::max(0.0, std::min(w * 0.25, topRadius));
    // A flat or tiny island would give a negative corner and a self-crossing outline.
    const double rb = std::max(0.0, std::min({(w - 2 * rt) * 0.5, (h - rt) / 1.2, bottomRadius}));
    return {rt, rb};
}

QPainterPath NotchShape::path(const QRectF& r) const {
    const auto [rt, rb] = fitted(r);
    QPainterPath p;
    p.moveTo(r.left(), r.top());
    p.quadTo(r.left() + rt, r.top(), r.left() + rt, r.top() + rt);
    p.lineTo(r.left() + rt, r.bottom() - rb);
    p.quadTo(r.left() + rt, r.bottom(), r.left() + rt + rb, r.bottom());
    p.lineTo(r.right() - rt - rb, r.bottom());
    p.quadTo(r.right() - rt, r.bottom(), r.right() - rt, r.bottom() - rb);
    p.lineTo(r.right() - rt, r.top() + rt);
    p.quadTo(r.right() - rt, r.top(), r.right(), r.top());
    p.closeSubpath();
    return p;
}

} // namespace nolvea
