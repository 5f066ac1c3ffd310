#include "ui/components/AuroraBackground.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/EffectsModel.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace nolvea {

namespace {

constexpr int kRaster = 96; // the mesh is computed small and scaled up smoothly

double cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}

// Where `p` lies in the patch with corners a (top left), b (top right), c (bottom left) and
// d (bottom right): the (u, v) whose bilinear blend of the corners is `p`, or nothing when it
// lies outside. Each pixel is coloured from its own (u, v), so the gradient has no cells.
std::optional<QPointF> patchCoordinates(QPointF p, QPointF a, QPointF b, QPointF c, QPointF d) {
    const QPointF e = b - a, f = c - a, g = a - b + d - c, h = p - a;
    const double k2 = cross(g, f);
    const double k1 = cross(e, f) + cross(h, g);
    const double k0 = cross(h, e);
    auto uFor = [&](double v) {
        const QPointF den = e + g * v;
        const QPointF num = h - f * v;
        return std::abs(den.x()) > std::abs(den.y()) ? num.x() / den.x() : num.y() / den.y();
    };
    auto inside = [](double u, double v) {
        constexpr double eps = 1e-6;
        return u > -eps && u < 1 + eps && v > -eps && v < 1 + eps;
    };
    std::array<double, 2> vs{};
    int count = 0;
    if (std::abs(k2) < 1e-12) {
        if (std::abs(k1) < 1e-12) return std::nullopt;
        vs[count++] = -k0 / k1;
    } else {
        const double disc = k1 * k1 - 4 * k0 * k2;
        if (disc < 0) return std::nullopt;
        const double w = std::sqrt(disc);
        vs[count++] = (-k1 - w) / (2 * k2);
        vs[count++] = (-k1 + w) / (2 * k2);
    }
    for (int n = 0; n < count; ++n) {
        const double v = vs[n];
        const double u = uFor(v);
        if (inside(u, v)) return QPointF(std::clamp(u, 0.0, 1.0), std::clamp(v, 0.0, 1.0));
    }
    return std::nullopt;
}

QRgb blend(const QColor& a, const QColor& b, const QColor& c, const QColor& d, double u, double v) {
    auto mix = [&](float x, float y, float z, float w) {
        return float(x * (1 - u) * (1 - v) + y * u * (1 - v) + z * (1 - u) * v + w * u * v);
    };
    const QColor colour = QColor::fromRgbF(mix(a.redF(), b.redF(), c.redF(), d.redF()),
                                           mix(a.greenF(), b.greenF(), c.greenF(), d.greenF()),
                                           mix(a.blueF(), b.blueF(), c.blueF(), d.blueF()),
                                           mix(a.alphaF(), b.alphaF(), c.alphaF(), d.alphaF()));
    return qPremultiply(colour.rgba());
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
    // Smoothed colours: a smoothstep of the patch coordinates.
    auto smooth = [](double x) { return x * x * (3 - 2 * x); };
    for (int y = 0; y < kRaster; ++y) {
        auto* line = reinterpret_cast<QRgb*>(small.scanLine(y));
        QRgb last = qPremultiply(cols[4].rgba());
        for (int x = 0; x < kRaster; ++x) {
            const QPointF at((x + 0.5) / kRaster, (y + 0.5) / kRaster);
            for (int patch = 0; patch < 4; ++patch) {
                const int i = (patch / 2) * 3 + patch % 2;
                const auto uv = patchCoordinates(at, pts[i], pts[i + 1], pts[i + 3], pts[i + 4]);
                if (!uv) continue;
                last = blend(cols[i], cols[i + 1], cols[i + 3], cols[i + 4], smooth(uv->x()),
                             smooth(uv->y()));
                break;
            }
            line[x] = last; // a pixel on a seam that no patch claimed takes its neighbour's
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
