#include "ui/components/WaveformModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace nolvea {

QList<WaveformModel::Bar> WaveformModel::bars(const QList<float>& levels, double H, double barWidth,
                                              double spacing, double intensity, double t) {
    QList<Bar> out;
    const auto n = levels.size();
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const double e = std::pow(std::sin(std::numbers::pi * (double(i) + 0.5) / double(n)), 0.7);
        const double w = 0.08 + 0.05 * std::sin(3 * t + 0.45 * double(i));
        const double a = e * (0.92 * double(levels[i]) + w);
        const double h = std::max((H / 2) * intensity * a, barWidth / 2);
        out << Bar{QRectF(double(i) * (barWidth + spacing), H / 2 - h, barWidth, 2 * h),
                   barWidth / 2, 0.35 + 0.65 * e};
    }
    return out;
}

double WaveformModel::width(qsizetype count, double barWidth, double spacing) {
    return std::max(0.0, (barWidth + spacing) * double(count) - spacing);
}

} // namespace nolvea
