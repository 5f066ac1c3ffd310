#include "ui/animation/TransitionLook.h"

#include <cmath>

namespace nolvea {

bool TransitionLook::isIdentity() const {
    return std::abs(scale - 1) < 1e-4 && std::abs(offset.x()) < 1e-3 &&
           std::abs(offset.y()) < 1e-3 && opacity >= 1 - 1e-4 && blur < 1e-2;
}

QTransform TransitionLook::transform(const QRectF& bounds) const {
    const QPointF a(bounds.left() + anchor.x() * bounds.width(),
                    bounds.top() + anchor.y() * bounds.height());
    QTransform t;
    t.translate(a.x() + offset.x(), a.y() + offset.y());
    t.scale(scale, scale);
    t.translate(-a.x(), -a.y());
    return t;
}

TransitionLook TransitionLook::then(const TransitionLook& outer) const {
    // x -> B + s2 (A + s1 (x - A) + o1 - B) + o2, written again as one scaling about C.
    TransitionLook r;
    r.scale = scale * outer.scale;
    r.offset = outer.scale * offset + outer.offset;
    r.opacity = opacity * outer.opacity;
    r.blur = std::max(blur, outer.blur);
    if (std::abs(1 - r.scale) < 1e-9) {
        r.anchor = anchor;
    } else {
        r.anchor =
            (outer.anchor * (1 - outer.scale) + outer.scale * anchor * (1 - scale)) / (1 - r.scale);
    }
    return r;
}

} // namespace nolvea
