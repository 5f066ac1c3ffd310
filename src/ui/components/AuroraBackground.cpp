#include "ui/components/AuroraBackground.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/EffectsModel.h"

#include <QPainter>
#include <QPainterPath>

namespace nolvea {

namespace {

constexpr int kRaster = 96;    // the mesh is drawn small and scaled up smoothly
constexpr int kSubdivide = 12; // quads per patch edge

QPointF bilinear(QPointF a, QPointF b, QPointF c, QPointF d, double u, double v) {
    return a * (1 - u) * (1 - v) + b * u * (1 - v) + c * (1 - u) * v + d * u * v;
}

QColor bilinear(const QColor& a, const QColor& b, const QColor& c, const QColor& d, double u,
                double v) {
    auto mix = [&](float x, float y, float z, float w) {
        return float(x * (1 - u) * (1 - v) + y * u * (1 - v) + z * (1 - u) * v + w * u * v);
    };
    return QColor::fromRgbF(mix(a.redF(), b.redF(), c.redF(), d.redF()),
                            mix(a.greenF(), b.greenF(), c.greenF(), d.greenF()),
                            mix(a.blueF(), b.blueF(), c.blueF(), d.blueF()),
                            mix(a.alphaF(), b.alphaF(), c.alphaF(), d.alphaF()));
}

} // namespace

AuroraBackground::AuroraBackground(Theme::Palette palette, QWidget* parent)
    : QWidget(parent)
    , m_palette(std::move(palette)) {
    m_driver = new FrameDriver(this);
    m_driver->setMinimumInterval(0.05);
    m_driver->setContinuous(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QImage AuroraBackground::render(const Theme::Palette& palette, QSize size, double t, bool dark) {
    const auto pts = EffectsModel::auroraPoints(t);
    const auto cols = EffectsModel::auroraColors(palette);
    QImage small(kRaster, kRaster, QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::transparent);
    {
        QPainter p(&small);
        p.setPen(Qt::NoPen);
        p.scale(kRaster, kRaster);
        for (int py = 0; py < 2; ++py)
            for (int px = 0; px < 2; ++px) {
                const int i = py * 3 + px;
                const QPointF a = pts[i], b = pts[i + 1], c = pts[i + 3], d = pts[i + 4];
                for (int sy = 0; sy < kSubdivide; ++sy)
                    for (int sx = 0; sx < kSubdivide; ++sx) {
                        const double u0 = double(sx) / kSubdivide, u1 = double(sx + 1) / kSubdivide;
                        const double v0 = double(sy) / kSubdivide, v1 = double(sy + 1) / kSubdivide;
                        // Smoothed colours: a smoothstep of the patch coordinates.
                        auto smooth = [](double x) { return x * x * (3 - 2 * x); };
                        const double um = smooth((u0 + u1) / 2), vm = smooth((v0 + v1) / 2);
                        const QPolygonF quad{
                            bilinear(a, b, c, d, u0, v0), bilinear(a, b, c, d, u1, v0),
                            bilinear(a, b, c, d, u1, v1), bilinear(a, b, c, d, u0, v1)};
                        p.setBrush(
                            bilinear(cols[i], cols[i + 1], cols[i + 3], cols[i + 4], um, vm));
                        // A hair of overlap hides the seams between quads.
                        QPainterPath path;
                        path.addPolygon(quad);
                        p.drawPath(path);
                        p.setPen(QPen(p.brush(), 0.02));
                        p.drawPolygon(quad);
                        p.setPen(Qt::NoPen);
                    }
            }
    }
    QImage out = small.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter p(&out);
    p.fillRect(out.rect(), EffectsModel::auroraVeil(dark));
    return out;
}

void AuroraBackground::paintEvent(QPaintEvent*) {
    // Paints between two frames (of widgets above, of exposed parts) reuse the last mesh.
    const double t = m_driver->time();
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    if (m_mesh.isNull() || t != m_meshTime || dark != m_meshDark || m_mesh.size() != size()) {
        m_mesh = render(m_palette, size(), t, dark);
        m_meshTime = t;
        m_meshDark = dark;
        ++m_meshDrawings;
    }
    QPainter p(this);
    p.drawImage(rect(), m_mesh);
}

} // namespace nolvea
