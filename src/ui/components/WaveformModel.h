#pragma once

#include <QList>
#include <QRectF>

namespace nolvea {

// The geometry of the level bars: pure numbers, no drawing.
class WaveformModel {
public:
    struct Bar {
        QRectF rect;
        double cornerRadius;
        double opacity;
    };

    // One bar per level at time `t` (seconds), for a canvas `height` high.
    static QList<Bar> bars(const QList<float>& levels, double height, double barWidth,
                           double spacing, double intensity, double t);
    // The row's width: (barWidth + spacing)·n − spacing, never negative.
    static double width(qsizetype count, double barWidth, double spacing);

    WaveformModel() = delete;
};

} // namespace nolvea
