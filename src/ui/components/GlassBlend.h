#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QRegion>

#include <vector>

namespace nolvea {

// Glass surfaces of one group that stand closer than the group's spacing melt into one: the
// outline is the smooth union of their shapes, so a drop beside the capsule hangs from it by a
// neck and separates as it moves away. Free of widgets: the group's layer paints what this
// computes.
class GlassBlend {
public:
    // A rounded rectangle; a circle is one whose radius is half its side.
    struct Shape {
        QRectF rect;
        double radius = 0;
        bool operator==(const Shape&) const = default;
    };
    struct Colors {
        QColor fill;
        QColor border;
        double borderWidth = 1;
    };

    GlassBlend(std::vector<Shape> shapes, double spacing);

    // Signed distance from `p` to the blended outline: negative inside.
    double distance(QPointF p) const;
    // Whether some two shapes stand close enough to change each other's outline; when none
    // do, each can be drawn apart.
    bool blends() const;
    // Everything the surface may cover.
    QRectF bounds() const;
    // The surface, filled and bordered, antialiased, for `area` (logical pixels) at `dpr`.
    QImage render(const QRect& area, const Colors& colors, double dpr = 1) const;
    // The pixels the surface covers, beyond the shapes themselves: the necks between them.
    QRegion necks() const;

private:
    std::vector<Shape> m_shapes;
    double m_spacing;
};

} // namespace nolvea
