#include "ui/components/BrandMarkModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace nolvea {

QList<double> BrandMarkModel::resample(const QList<float>& levels, int k) {
    QList<double> out;
    if (k <= 0) return out;
    const auto c = levels.size();
    if (c < 2) {
        out.fill(c == 1 ? double(levels[0]) : 0.0, k);
        return out;
    }
    out.reserve(k);
    for (int j = 0; j < k; ++j) {
        const qsizetype start = qsizetype(j) * c / k;
        const qsizetype end = std::min(std::max(start + 1, qsizetype(j + 1) * c / k), c);
        double sum = 0;
        for (qsizetype i = start; i < end; ++i)
            sum += levels[i];
        const double mean = sum / double(end - start);
        out << (std::isnan(mean) ? 0.0 : std::clamp(mean, 0.0, 1.0));
    }
    return out;
}

double BrandMarkModel::targetMorph(const BrandMarkInputs& in) {
    if (in.morphOverride) return *in.morphOverride;
    return in.ball ? 1.0 : 0.0;
}

BrandMarkFrame BrandMarkModel::frame(const BrandMarkInputs& in, double t, double level, double m) {
    constexpr double twoPi = 2 * std::numbers::pi;
    BrandMarkFrame f;
    f.morph = m;
    QList<double> profile;
    if (in.levels) profile = resample(*in.levels, 7);

    double phase, k;
    if (in.levels && m < 1) {
        phase = std::fmod(3.2 * t, twoPi);
        k = 1;
    } else {
        const double r = in.busy ? 4.0 : 1.3;
        phase = 0.35 * std::sin(std::fmod(t * r, twoPi));
        k = 1 + (1 - m) * 0.35 * level;
    }
    const double s = 0.3 * (1 + 0.4 * m * level);
    f.ballFactor = s;
    f.line = BreathShape{0.05, 0.5, 0.9, 0.195 * k, 0.24, phase, profile, m, s, 96};
    f.echo = BreathShape{0.1, 0.519, 0.8, 0.245 * k, 0.055, phase + 0.9, profile, m, 0.9 * s, 96};
    f.swirlDegrees = std::fmod(t * (in.busy ? 420.0 : 50.0), 360.0);
    f.ringDegrees = std::fmod(540.0 * t, 360.0);
    return f;
}

QRectF BrandMarkModel::fit(const QRectF& bounds) {
    double w = bounds.width(), h = bounds.height();
    if (w / kAspect > h)
        w = h * kAspect;
    else
        h = w / kAspect;
    return QRectF(bounds.center().x() - w / 2, bounds.center().y() - h / 2, w, h);
}

} // namespace nolvea
