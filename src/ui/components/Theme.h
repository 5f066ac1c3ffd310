#pragma once

#include <QColor>
#include <QList>

namespace nolvea {

// A spring as the views describe their changes: the time of one undamped period and how much
// of the critical damping it has.
struct SpringSpec {
    double response = 0.5;
    double dampingFraction = 1.0;
    double blendDuration = 0.0;
    bool operator==(const SpringSpec&) const = default;
};

// The two mode palettes, the two status colours and the three springs. Fixed values: no
// setting and no system appearance changes them.
class Theme {
public:
    struct Palette {
        QList<QColor> colors;
        QColor accent;
        QColor glassTint;
        bool operator==(const Palette&) const = default;
    };

    static const Palette& dictation();
    static const Palette& agent();
    static const QColor& success();
    static const QColor& failure();
    static const SpringSpec& morph();
    static const SpringSpec& snappy();
    static const SpringSpec& gentle();

    Theme() = delete;
};

} // namespace nolvea
