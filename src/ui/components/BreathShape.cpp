#include "ui/components/BreathShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace nolvea {

double BreathShape::loudness(double t) const {
    const auto n = voice.size();
    if (n < 2) return 0;
    const double p = t * double(n - 1);
    const auto i = std::min<qsizetype>(n - 2, qsizetype(std::floor(p)));
    const double f = p - double(i);
    const double s = f * f * (3 - 2 * f);
    return (1 - s) * voice[i] + s * voice[i + 1];
}

QPolygonF BreathShape::path(const QRectF& rect) const {
    constexpr double pi = std::numbers::pi;
    const double X = rect.x(), Y = rect.y(), W = rect.width(), H = rect.height();
    const bool hasVoice = !voice.isEmpty();
    const double cx = X + W * (x0 + 0.5 * width);
    const double cy = Y + y0 * H;
    const double R = ballRadius * H;
    const double mc = std::clamp(morph, 0.0, 1.0);
    const int N = std::max(1, steps);

    QList<QPointF> upper(N + 1), lower(N + 1);
    for (int i = 0; i <= N; ++i) {
        const double t = double(i) / N;
        const double e = std::sin(pi * t);
        const double L = loudness(t);
        const double a = hasVoice ? (1.5 * L + 0.45) * amplitude : amplitude;
        const double h = hasVoice ? (0.7 * L + 0.7) * thickness : thickness;
        const double x = X + (x0 + width * t) * W;
        const double yc = cy - e * std::sin(phase + 2 * pi * t) * a * W;
        const double d = 0.5 * h * W * std::pow(e, 1.15);
        const QPointF lineUp(x, yc - d), lineDown(x, yc + d);
        const QPointF ballUp(cx + R * std::cos((1 - t) * pi), cy - R * std::sin((1 - t) * pi));
        const QPointF ballDown(cx + R * std::cos((1 + t) * pi), cy - R * std::sin((1 + t) * pi));
        upper[i] = lineUp + mc * (ballUp - lineUp);
        lower[i] = lineDown + mc * (ballDown - lineDown);
    }
    QPolygonF poly;
    poly.reserve(2 * (N + 1));
    for (int i = 0; i <= N; ++i)
        poly << upper[i];
    for (int i = N; i >= 0; --i)
        poly << lower[i];
    return poly;
}

} // namespace nolvea
