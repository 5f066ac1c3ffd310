#pragma once

#include "ui/components/BreathShape.h"

#include <QColor>
#include <QList>

#include <optional>

namespace nolvea {

// How the logo is coloured: everything in one colour, or the brand gradients.
struct BrandMarkStyle {
    enum class Kind { mono, aurora };
    Kind kind = Kind::aurora;
    QColor color;

    static BrandMarkStyle mono(const QColor& c) { return {Kind::mono, c}; }
    static BrandMarkStyle aurora() { return {Kind::aurora, {}}; }
};

// What the logo shows, as its callers give it.
struct BrandMarkInputs {
    BrandMarkStyle style = BrandMarkStyle::aurora();
    double level = 0;
    std::optional<QList<float>> levels;
    bool ball = false;
    bool animated = false;
    bool busy = false;
    bool glow = false;
    bool echoes = false;
    std::optional<double> morphOverride;
};

// Everything one frame of the logo draws, computed from the inputs and the time.
struct BrandMarkFrame {
    BreathShape line;
    BreathShape echo;
    double morph = 0;
    double ballFactor = 0.3;
    double swirlDegrees = 0; // a1: the ball's colour swirl
    double ringDegrees = 0;  // a2: the busy ring
};

// The numbers of the logo, free of any drawing.
class BrandMarkModel {
public:
    static constexpr double kAspect = 1.25;

    // A loudness history reduced (or stretched) to `k` points, each the clamped mean of its
    // share of the history.
    static QList<double> resample(const QList<float>& levels, int k);
    // The morph the inputs ask for: the override when given, else 1 for a ball, 0 for a line.
    static double targetMorph(const BrandMarkInputs& in);
    // One frame at time `t` (seconds since 1 January 2001; 0 when not animated), with the
    // level and morph the springs have reached.
    static BrandMarkFrame frame(const BrandMarkInputs& in, double t, double level, double morph);
    static BrandMarkFrame frame(const BrandMarkInputs& in, double t) {
        return frame(in, in.animated ? t : 0, in.level, targetMorph(in));
    }
    // The largest rectangle of the logo's aspect centred in `bounds`.
    static QRectF fit(const QRectF& bounds);

    BrandMarkModel() = delete;
};

} // namespace nolvea
