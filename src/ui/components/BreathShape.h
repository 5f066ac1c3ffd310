#pragma once

#include <QList>
#include <QPolygonF>
#include <QRectF>

namespace nolvea {

// The outline behind the logo: a pointed wave line, fattest in the middle, that swells with a
// loudness profile and can morph into a ball. All lengths are fractions of the rectangle.
struct BreathShape {
    double x0 = 0.05;
    double y0 = 0.5;
    double width = 0.9;
    double amplitude = 0.195;
    double thickness = 0.24;
    double phase = 0;
    QList<double> voice;
    double morph = 0;
    double ballRadius = 0.3;
    int steps = 96;

    // One closed polygon of 2·(steps + 1) points: the upper edge left to right, then the
    // lower edge right to left.
    QPolygonF path(const QRectF& rect) const;
    // The voice loudness at position t (0...1) along the line.
    double loudness(double t) const;

    // The values a spring animates; the others jump.
    struct Animatable {
        double amplitude;
        double morph;
        double phase;
        double ballRadius;
    };
};

} // namespace nolvea
