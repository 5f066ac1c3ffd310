#include "ui/components/GlassBlend.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nolvea {

namespace {

// A distance with its gradient: the gradient tells how far the outline really is where the
// smooth union bends the field (in a neck the field changes slowly).
struct Field {
    double d;
    QPointF g;
};

// A rounded rectangle as the distance needs it: its centre, the half sides of its straight
// part and its corner radius.
struct Box {
    double cx, cy, ex, ey, r;

    explicit Box(const GlassBlend::Shape& s) {
        const double hw = s.rect.width() / 2, hh = s.rect.height() / 2;
        r = std::clamp(s.radius, 0.0, std::min(hw, hh));
        cx = s.rect.center().x();
        cy = s.rect.center().y();
        ex = hw - r;
        ey = hh - r;
    }

    Field at(double px, double py) const {
        const double sx = px < cx ? -1 : 1, sy = py < cy ? -1 : 1;
        const double qx = std::abs(px - cx) - ex;
        const double qy = std::abs(py - cy) - ey;
        if (qx > 0 || qy > 0) {
            const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
            const double len = std::sqrt(ox * ox + oy * oy);
            return {len - r, QPointF(sx * ox / len, sy * oy / len)};
        }
        return qx > qy ? Field{qx - r, QPointF(sx, 0)} : Field{qy - r, QPointF(0, sy)};
    }

    // How far from the centre, along the row at `py`, points lie deeper than `depth` (< 0)
    // inside; negative when none do.
    double innerHalfWidth(double py, double depth) const {
        const double qy = std::abs(py - cy) - ey;
        const double reach = r + depth;
        if (qy >= reach) return -1;
        if (qy <= 0) return ex + reach;
        return ex + std::sqrt(reach * reach - qy * qy);
    }
};

Field smoothMin(const Field& a, const Field& b, double k) {
    if (k <= 0) return a.d <= b.d ? a : b;
    const double h = std::max(k - std::abs(a.d - b.d), 0.0) / k;
    const Field& low = a.d <= b.d ? a : b;
    const Field& high = a.d <= b.d ? b : a;
    return {low.d - h * h * k / 4, low.g * (1 - h / 2) + high.g * (h / 2)};
}

Field fieldOf(const std::vector<Box>& boxes, double spacing, QPointF p) {
    Field f{std::numeric_limits<double>::infinity(), {}};
    for (const Box& b : boxes) {
        const Field fb = b.at(p.x(), p.y());
        f = std::isinf(f.d) ? fb : smoothMin(f, fb, spacing);
    }
    return f;
}

std::vector<Box> boxesOf(const std::vector<GlassBlend::Shape>& shapes) {
    return {shapes.begin(), shapes.end()};
}

// How far from its rectangle a point can be and still take part in a neck.
double reach(double spacing) {
    return spacing * 1.25;
}

double rectGap(const QRectF& a, const QRectF& b) {
    const double dx = std::max({a.left() - b.right(), b.left() - a.right(), 0.0});
    const double dy = std::max({a.top() - b.bottom(), b.top() - a.bottom(), 0.0});
    return std::hypot(dx, dy);
}

uint premultiplied(const QColor& c, double coverage) {
    const double a = c.alphaF() * coverage;
    return qRgba(int(std::lround(c.red() * a)), int(std::lround(c.green() * a)),
                 int(std::lround(c.blue() * a)), int(std::lround(255 * a)));
}

} // namespace

GlassBlend::GlassBlend(std::vector<Shape> shapes, double spacing)
    : m_spacing(std::max(spacing, 0.0)) {
    for (Shape& s : shapes)
        if (!s.rect.isEmpty()) m_shapes.push_back(std::move(s));
}

double GlassBlend::distance(QPointF p) const {
    return fieldOf(boxesOf(m_shapes), m_spacing, p).d;
}

bool GlassBlend::blends() const {
    // Shapes melt only where their distances differ by less than the spacing, and a point
    // near both is then inside only while they stand closer than the spacing.
    for (size_t i = 0; i < m_shapes.size(); ++i)
        for (size_t j = i + 1; j < m_shapes.size(); ++j)
            if (rectGap(m_shapes[i].rect, m_shapes[j].rect) < m_spacing) return true;
    return false;
}

QRectF GlassBlend::bounds() const {
    QRectF all;
    for (const Shape& s : m_shapes)
        all |= s.rect;
    const double grow = m_spacing / 4 + 2;
    return all.isEmpty() ? all : all.adjusted(-grow, -grow, grow, grow);
}

QImage GlassBlend::render(const QRect& area, const Colors& colors, double dpr) const {
    QImage image((QSizeF(area.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    if (m_shapes.empty()) return image;
    const double halfBorder = colors.borderWidth / 2;
    // Well inside one shape a pixel is the fill alone; farther than this from every shape it
    // is clear (the union only reaches a quarter of the spacing beyond the nearest shape).
    const double inside = -(halfBorder + 1);
    const double far = m_spacing / 4 + halfBorder + 1;
    const QRgb solid = premultiplied(colors.fill, 1);
    const QColor border = colors.border;
    std::vector<Box> boxes;
    for (const Shape& shape : m_shapes)
        boxes.emplace_back(shape);
    std::vector<const Box*> row;
    std::vector<Field> fields;
    std::vector<std::pair<double, double>> solidSpans, nearSpans;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double ly = area.top() + (y + 0.5) / dpr;
        // Only the shapes that reach this row count in it.
        row.clear();
        for (const Box& b : boxes)
            if (std::abs(ly - b.cy) - b.ey - b.r <= far) row.push_back(&b);
        if (row.empty()) continue;
        fields.resize(row.size());
        solidSpans.clear();
        nearSpans.clear();
        for (const Box* b : row) {
            const double half = b->ex + b->r + far;
            nearSpans.emplace_back(b->cx - half, b->cx + half);
        }
        for (const Box* b : row)
            if (const double half = b->innerHalfWidth(ly, inside); half > 0)
                solidSpans.emplace_back(b->cx - half, b->cx + half);
        for (int x = 0; x < image.width(); ++x) {
            const double lx = area.left() + (x + 0.5) / dpr;
            if (std::any_of(solidSpans.begin(), solidSpans.end(), [lx](const auto& span) {
                    return lx > span.first && lx < span.second;
                })) {
                line[x] = solid;
                continue;
            }
            if (std::none_of(nearSpans.begin(), nearSpans.end(), [lx](const auto& span) {
                    return lx >= span.first && lx <= span.second;
                }))
                continue;
            double nearest = std::numeric_limits<double>::infinity();
            for (size_t i = 0; i < row.size(); ++i) {
                fields[i] = row[i]->at(lx, ly);
                nearest = std::min(nearest, fields[i].d);
            }
            if (nearest < inside) {
                line[x] = solid;
                continue;
            }
            if (nearest > far) continue;
            Field field = fields[0];
            for (size_t i = 1; i < fields.size(); ++i)
                field = smoothMin(field, fields[i], m_spacing);
            // The field over its slope: the distance to the outline, near it.
            const double slope =
                std::max(std::sqrt(field.g.x() * field.g.x() + field.g.y() * field.g.y()), 0.2);
            const double d = field.d / slope * dpr;
            const double fill = std::clamp(0.5 - d, 0.0, 1.0);
            const double edge = std::clamp(halfBorder * dpr + 0.5 - std::abs(d), 0.0, 1.0) *
                                std::min(1.0, colors.borderWidth * dpr);
            if (fill <= 0 && edge <= 0) continue;
            const QRgb under = premultiplied(colors.fill, fill);
            const double over = border.alphaF() * edge;
            const QRgb top = premultiplied(border, edge);
            line[x] = qRgba(int(qRed(top) + qRed(under) * (1 - over)),
                            int(qGreen(top) + qGreen(under) * (1 - over)),
                            int(qBlue(top) + qBlue(under) * (1 - over)),
                            int(qAlpha(top) + qAlpha(under) * (1 - over)));
        }
    }
    return image;
}

QRegion GlassBlend::necks() const {
    QRegion region;
    if (!blends()) return region;
    const std::vector<Box> boxes = boxesOf(m_shapes);
    const double r = reach(m_spacing);
    for (size_t i = 0; i < m_shapes.size(); ++i)
        for (size_t j = i + 1; j < m_shapes.size(); ++j) {
            if (rectGap(m_shapes[i].rect, m_shapes[j].rect) >= m_spacing) continue;
            const QRectF a = m_shapes[i].rect.adjusted(-r, -r, r, r);
            const QRectF box = a & m_shapes[j].rect.adjusted(-r, -r, r, r);
            if (box.isEmpty()) continue;
            const QRect pixels = box.toAlignedRect();
            std::vector<QRect> spans;
            for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
                int start = -1;
                for (int x = pixels.left(); x <= pixels.right() + 1; ++x) {
                    const bool in = x <= pixels.right() &&
                                    fieldOf(boxes, m_spacing, QPointF(x + 0.5, y + 0.5)).d < 0;
                    if (in && start < 0) start = x;
                    if (!in && start >= 0) {
                        spans.emplace_back(start, y, x - start, 1);
                        start = -1;
                    }
                }
            }
            QRegion part;
            part.setRects(spans.data(), int(spans.size()));
            region += part;
        }
    return region;
}

} // namespace nolvea
