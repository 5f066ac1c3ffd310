#include "ui/components/BrandMarkPainter.h"

#include "ui/components/Blur.h"
#include "ui/components/Brand.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace nolvea {

namespace {

QPainterPath outline(const BreathShape& shape, const QRectF& rect) {
    QPainterPath path;
    path.addPolygon(shape.path(rect));
    path.closeSubpath();
    return path;
}

QLinearGradient brandGradient(const QRectF& r) {
    QLinearGradient g(r.left() + 0.05 * r.width(), r.center().y(), r.left() + 0.95 * r.width(),
                      r.center().y());
    g.setColorAt(0, Brand::brasa());
    g.setColorAt(0.5, Brand::orquidea());
    g.setColorAt(1, Brand::ceu());
    return g;
}

// A gradient that runs clockwise from `startDegrees` (0 = to the right), as the views draw
// angular gradients; Qt's conical gradient runs the other way.
QConicalGradient clockwise(const QPointF& centre, double startDegrees,
                           const QList<QPair<double, QColor>>& stops) {
    QConicalGradient g(centre, -startDegrees);
    for (const auto& [at, colour] : stops)
        g.setColorAt(std::clamp(1.0 - at, 0.0, 1.0), colour);
    return g;
}

} // namespace

void BrandMarkPainter::paint(QPainter& p, const QRectF& rect, const BrandMarkInputs& in,
                             const BrandMarkFrame& f, double ringOpacity) {
    const double W = rect.width(), H = rect.height();
    if (W <= 0 || H <= 0) return;
    const double m = std::clamp(f.morph, 0.0, 1.0);
    const QPainterPath line = outline(f.line, rect);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    if (in.style.kind == BrandMarkStyle::Kind::mono) {
        if (in.echoes) {
            p.setOpacity(0.35 * (1 - m));
            p.fillPath(outline(f.echo, rect), in.style.color);
        }
        p.setOpacity(1);
        p.fillPath(line, in.style.color);
        p.restore();
        return;
    }

    const QLinearGradient G = brandGradient(rect);
    if (in.glow) {
        // The glow spills beyond the mark. A wide blur loses nothing when drawn small: the
        // line goes onto a layer scaled so the radius is a few pixels, is blurred there and
        // is drawn back up with bilinear filtering.
        const double radius = 0.07 * W;
        const double pad = std::ceil(3 * radius);
        const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
        const double scale = std::min(1.0, 3.0 / std::max(radius * dpr, 1e-6)) * dpr;
        const QRectF area(rect.left() - pad, rect.top() - pad, W + 2 * pad, H + 2 * pad);
        QImage layer(
            QSizeF(area.width() * scale, area.height() * scale).toSize().expandedTo({1, 1}),
            QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        {
            QPainter lp(&layer);
            lp.setRenderHint(QPainter::Antialiasing);
            lp.scale(scale, scale);
            lp.translate(-area.topLeft());
            lp.fillPath(line, G);
        }
        layer = blurred(layer, radius * scale);
        p.setOpacity(0.75);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(area, layer);
    }
    if (in.echoes) {
        p.setOpacity(0.3 * (1 - m));
        p.fillPath(outline(f.echo, rect), Brand::orquidea());
    }
    p.setOpacity(1);
    p.fillPath(line, G);
    if (m > 0) {
        const QPointF centre = rect.center();
        p.setOpacity(m);
        p.fillPath(line, clockwise(centre, f.swirlDegrees,
                                   {{0, Brand::brasa()},
                                    {1.0 / 3, Brand::orquidea()},
                                    {2.0 / 3, Brand::ceu()},
                                    {1, Brand::brasa()}}));
        const double R = f.ballFactor * H;
        QRadialGradient highlight(
            QPointF(rect.left() + (0.5 - 0.35 * R / W) * W, rect.top() + (0.5 - 0.4 * R / H) * H),
            std::max(0.9 * R, 1e-6));
        highlight.setColorAt(0, Brand::withOpacity(Qt::white, 0.6));
        highlight.setColorAt(1, Qt::transparent);
        p.fillPath(line, highlight);

        const double ring = m * std::clamp(ringOpacity, 0.0, 1.0);
        if (ring > 0) {
            const double side = 3.1 * R;
            const QRectF box(centre.x() - side / 2, centre.y() - side / 2, side, side);
            p.setOpacity(ring);
            p.translate(centre);
            p.rotate(f.ringDegrees);
            p.translate(-centre);
            QPen pen(QBrush(clockwise(centre, 0,
                                      {{0, Brand::withOpacity(Brand::ceu(), 0)},
                                       {0.15, Brand::orquidea()},
                                       {0.3, Brand::brasa()}})),
                     std::max(0.07 * H, 1.2), Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
            pen.setMiterLimit(10);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            // From 0 (three o'clock) clockwise over 0.3 of a turn.
            p.drawArc(box, 0, int(-0.3 * 360 * 16));
        }
    }
    p.restore();
}

} // namespace nolvea
