#include "ui/components/EffectsModel.h"

#include "ui/components/Brand.h"

#include <algorithm>
#include <cmath>

namespace nolvea {

namespace {

double toLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double toSrgb(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

struct Lab {
    double L, a, b;
};

Lab toOklab(const QColor& c) {
    const double r = toLinear(c.redF()), g = toLinear(c.greenF()), b = toLinear(c.blueF());
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

QColor fromOklab(const Lab& lab, double alpha) {
    const double l = std::pow(lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b, 3);
    const double m = std::pow(lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b, 3);
    const double s = std::pow(lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b, 3);
    const double r = 4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s;
    const double g = -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s;
    const double b = -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s;
    return QColor::fromRgbF(float(toSrgb(r)), float(toSrgb(g)), float(toSrgb(b)), float(alpha));
}

} // namespace

QList<QPointF> EffectsModel::auroraPoints(double t) {
    const double s = 0.25 * t;
    auto w = [&](double phi) { return double(float(0.5 + 0.28 * std::sin(s + phi))); };
    return {{0, 0},      {w(0), 0},        {1, 0},      //
            {0, w(1.3)}, {w(2.2), w(3.1)}, {1, w(4.4)}, //
            {0, 1},      {w(5.5), 1},      {1, 1}};
}

QList<QColor> EffectsModel::auroraColors(const Theme::Palette& palette) {
    QList<QColor> c = palette.colors;
    if (c.isEmpty()) c << Qt::black;
    while (c.size() < 4)
        c << c.last();
    return {c[0], c[2],
            c[1], //
            c[3], mixTowardsWhite(c[0], 0.3),
            c[2], //
            c[1], c[3],
            c[0]};
}

QColor EffectsModel::auroraVeil(bool dark) {
    return dark ? Brand::withOpacity(Qt::black, 0.35) : Brand::withOpacity(Qt::white, 0.15);
}

QColor EffectsModel::mixTowardsWhite(const QColor& c, double amount) {
    const Lab a = toOklab(c), w = toOklab(Qt::white);
    return fromOklab(
        {a.L + (w.L - a.L) * amount, a.a + (w.a - a.a) * amount, a.b + (w.b - a.b) * amount},
        c.alphaF());
}

EffectsModel::Band EffectsModel::shimmerBand(double t, double width) {
    const double p = std::fmod(t, 1.6) / 1.6;
    return {p * 1.45 * width - 0.45 * width, 0.45 * width};
}

KeyframeTrack EffectsModel::shakeTrack() {
    const auto spring = KeyframeTrack::defaultSpring();
    return KeyframeTrack(0, {{-9, 0.07, spring},
                             {8, 0.07, spring},
                             {-6, 0.07, spring},
                             {4, 0.07, spring},
                             {0, 0.12, spring}});
}

EffectsModel::Appearance EffectsModel::liquidAppear(bool active) {
    return active ? Appearance{0.55, 26, 0} : Appearance{1, 0, 1};
}

EffectsModel::Appearance EffectsModel::liquidAppear(double progress) {
    const Appearance a = liquidAppear(true), b = liquidAppear(false);
    auto mix = [&](double x, double y) { return x + (y - x) * progress; };
    return {mix(a.scale, b.scale), mix(a.offsetY, b.offsetY),
            std::clamp(mix(a.opacity, b.opacity), 0.0, 1.0)};
}

EffectsModel::KeyCapColors EffectsModel::keyCapColors(bool pressed, bool dark) {
    if (!pressed)
        return dark ? KeyCapColors{Brand::withOpacity(Qt::white, 0.55),
                                   Brand::withOpacity(Qt::white, 0.09)}
                    : KeyCapColors{Brand::withOpacity(Brand::tinta(), 0.5),
                                   Brand::withOpacity(Brand::tinta(), 0.055)};
    return dark ? KeyCapColors{Brand::tinta(), Qt::white} : KeyCapColors{Qt::white, Brand::tinta()};
}

QColor EffectsModel::keyCapLip(bool dark) {
    return dark ? Brand::withOpacity(Qt::white, 0.08) : Brand::withOpacity(Brand::tinta(), 0.08);
}

double EffectsModel::keyCapWidth(double textWidth, double size, qsizetype characters) {
    const double padding = characters > 1 ? 0.24 * size : 0;
    return std::max(size, textWidth) + 2 * padding;
}

} // namespace nolvea
