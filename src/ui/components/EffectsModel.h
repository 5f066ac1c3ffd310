#pragma once

#include "ui/animation/KeyframeTrack.h"
#include "ui/components/Theme.h"

#include <QColor>
#include <QList>
#include <QPointF>

namespace nolvea {

// The numbers of the shared effects, free of drawing.
class EffectsModel {
public:
    // Aurora: the 3 × 3 mesh at time `t` (seconds since 1 January 2001), row by row from the
    // top, in the unit square.
    static QList<QPointF> auroraPoints(double t);
    // Its nine colours from the palette's first four; a shorter palette repeats its last.
    static QList<QColor> auroraColors(const Theme::Palette& palette);
    // The veil over the mesh.
    static QColor auroraVeil(bool dark);
    // `c` moved `amount` of the way towards white in a perceptual space (OKLab).
    static QColor mixTowardsWhite(const QColor& c, double amount);

    // Shimmer: the light band's left edge and width for a text `width` wide at time `t`.
    struct Band {
        double x;
        double width;
    };
    static Band shimmerBand(double t, double width);

    // Shake: the horizontal offset track, replayed from the start at every trigger change.
    static KeyframeTrack shakeTrack();

    // Liquid appear: the state of a view being inserted or removed (`active`) or at rest.
    struct Appearance {
        double scale;   // about the bottom centre
        double offsetY; // downwards
        double opacity;
    };
    static Appearance liquidAppear(bool active);
    // Between the two: 0 = active, 1 = at rest.
    static Appearance liquidAppear(double progress);

    // Key cap.
    struct KeyCapColors {
        QColor glyph;
        QColor key;
    };
    static KeyCapColors keyCapColors(bool pressed, bool dark);
    static QColor keyCapLip(bool dark);
    // Width of a key whose label is `textWidth` wide and `characters` long; height is `size`.
    static double keyCapWidth(double textWidth, double size, qsizetype characters);

    EffectsModel() = delete;
};

} // namespace nolvea
