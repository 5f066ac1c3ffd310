#include "ui/components/AppIconView.h"

#include "ui/components/Blur.h"
#include "ui/components/Brand.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>

#include <cmath>

namespace nolvea {

namespace {

constexpr double u = 1.0 / 824; // one unit of the tile grid

BreathShape still(double x0, double y0, double width, double amplitude, double thickness,
                  double phase) {
    return BreathShape{x0, y0, width, amplitude, thickness, phase, {}, 0, 0.3, 96};
}

QPainterPath outline(const BreathShape& s, const QRectF& r) {
    QPainterPath path;
    path.addPolygon(s.path(r));
    path.closeSubpath();
    return path;
}

QRadialGradient glow(const QRectF& tile, QPointF unitCentre, double radius,
                     const QList<QPair<double, QColor>>& stops) {
    QRadialGradient g(tile.left() + unitCentre.x() * tile.width(),
                      tile.top() + unitCentre.y() * tile.height(), radius);
    for (const auto& [at, c] : stops)
        g.setColorAt(at, c);
    return g;
}

} // namespace

AppIconView::AppIconView(double size, QWidget* parent)
    : QWidget(parent)
    , m_size(size) {
    setAttribute(Qt::WA_TranslucentBackground);
}

QSize AppIconView::sizeHint() const {
    return QSizeF(m_size, m_size).toSize();
}

AppIconView::Geometry AppIconView::geometry(double S) {
    const double T = S * 824 / 1024;
    const double margin = (S - T) / 2;
    return {QRectF(margin, margin, T, T), S * 186 / 1024, S * 38 / 1024, S * 3 / 1024};
}

BreathShape AppIconView::mainShape() {
    return still(132 * u, 420 * u, 560 * u, 120 * u, 150 * u, 0);
}
BreathShape AppIconView::echo1Shape() {
    return still(162 * u, 430 * u, 500 * u, 150 * u, 34 * u, 0.9);
}
BreathShape AppIconView::echo2Shape() {
    return still(192 * u, 406 * u, 440 * u, 92 * u, 16 * u, -0.8);
}

void AppIconView::paint(QPainter& p, double S) {
    const Geometry g = geometry(S);
    const QRectF tile = g.tile;
    const double T = tile.width();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    QPainterPath clip;
    clip.addRoundedRect(tile, g.cornerRadius, g.cornerRadius);
    p.setClipPath(clip);

    p.fillRect(tile, Brand::noite());
    auto alpha = [](const QColor& c, double a) { return Brand::withOpacity(c, a); };
    p.fillRect(tile, glow(tile, {0.5, 1.05}, 0.75 * T,
                          {{0, alpha(Brand::orquidea(), 0.55)},
                           {0.55, alpha(Brand::orquidea(), 0.08)},
                           {1, alpha(Brand::orquidea(), 0)}}));
    p.fillRect(tile, glow(tile, {0.12, 0.9}, 0.6 * T,
                          {{0, alpha(Brand::brasa(), 0.45)}, {1, alpha(Brand::brasa(), 0)}}));
    p.fillRect(tile, glow(tile, {0.9, 0.8}, 0.6 * T,
                          {{0, alpha(Brand::ceu(), 0.4)}, {1, alpha(Brand::ceu(), 0)}}));

    QLinearGradient G(tile.left() + 244 * u * T, tile.center().y(), tile.left() + 580 * u * T,
                      tile.center().y());
    G.setColorAt(0, Brand::brasa());
    G.setColorAt(0.5, Brand::orquidea());
    G.setColorAt(1, Brand::ceu());
    const QPainterPath main = outline(mainShape(), tile);

    // The halo: the main line blurred on its own layer.
    {
        const int side = int(std::ceil(S));
        QImage layer(side, side, QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.fillPath(main, G);
        lp.end();
        p.setOpacity(0.85);
        p.drawImage(QPointF(0, 0), blurred(layer, g.haloBlur));
        p.setOpacity(1);
    }
    p.fillPath(outline(echo1Shape(), tile), alpha(Qt::white, 0.16));
    p.fillPath(outline(echo2Shape(), tile), alpha(Qt::white, 0.1));
    p.fillPath(main, G);

    p.setClipping(false);
    QLinearGradient edge(tile.topLeft(), tile.bottomLeft());
    edge.setColorAt(0, alpha(Qt::white, 0.28));
    edge.setColorAt(0.5, alpha(Qt::white, 0.04));
    edge.setColorAt(1, alpha(Qt::white, 0.14));
    const double w = g.borderWidth;
    QPen pen(QBrush(edge), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF inner = tile.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    p.drawRoundedRect(inner, g.cornerRadius - w / 2, g.cornerRadius - w / 2);
    p.restore();
}

QImage AppIconView::render(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paint(p, pixels);
    p.end();
    return image;
}

QList<QPair<QString, int>> AppIconView::iconsetFiles() {
    QList<QPair<QString, int>> out;
    for (int base : {16, 32, 128, 256, 512})
        for (int k : {1, 2})
            out << qMakePair(QStringLiteral("icon_%1x%1%2.png").arg(base).arg(k == 2 ? "@2x" : ""),
                             base * k);
    return out;
}

QStringList AppIconView::renderIconset(const QString& folder) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    QStringList failed;
    for (const auto& [name, pixels] : iconsetFiles()) {
        const QImage image = render(pixels);
        QSaveFile file(dir.filePath(name));
        // A file left from an earlier run stays in place when its replacement fails. The
        // last bytes are written by the flush, whose failure the commit would not see.
        const bool written = !image.isNull() && file.open(QIODevice::WriteOnly) &&
                             image.save(&file, "PNG") && file.flush() && file.commit();
        if (!written) failed << name;
    }
    return failed;
}

void AppIconView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double side = std::min(width(), height());
    p.translate((width() - side) / 2, (height() - side) / 2);
    paint(p, side);
}

} // namespace nolvea
