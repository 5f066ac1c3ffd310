#include "ui/onboarding/OnboardingMotion.h"

#include <algorithm>

namespace nolvea {

namespace {

constexpr double kPageShift = 70;

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

} // namespace

MotionLook OnboardingMotion::pageIn(bool forward, double p) {
    return {.opacity = clamp01(p),
            .dx = (forward ? kPageShift : -kPageShift) * (1 - p),
            .scale = 0.97 + 0.03 * p};
}

MotionLook OnboardingMotion::pageOut(bool forward, double p) {
    return {.opacity = clamp01(1 - p), .dx = (forward ? -kPageShift : kPageShift) * p};
}

MotionLook OnboardingMotion::fromTop(double height, double p) {
    return {.opacity = clamp01(p), .dy = -height * (1 - p)};
}

MotionLook OnboardingMotion::fromBottom(double height, double p) {
    return {.opacity = clamp01(p), .dy = height * (1 - p)};
}

MotionLook OnboardingMotion::fade(double p) {
    return {.opacity = clamp01(p)};
}

MotionLook OnboardingMotion::welcomeMark(double p) {
    return {.opacity = clamp01(p), .scale = 0.4 + 0.6 * p, .blur = 24 * std::max(0.0, 1 - p)};
}

MotionLook OnboardingMotion::welcomeRing(double p) {
    return {.opacity = 0.8 * clamp01(1 - p), .scale = 0.6 + 2.0 * p};
}

MotionLook OnboardingMotion::welcomeText(double p) {
    return {.opacity = clamp01(p), .dy = 12 * (1 - p)};
}

MotionLook OnboardingMotion::welcomeButtons(double p) {
    return {.opacity = clamp01(p), .scale = 0.9 + 0.1 * p};
}

MotionLook OnboardingMotion::wordIn(double p) {
    return {.opacity = clamp01(p), .dy = 14 * (1 - p), .scale = 0.92 + 0.08 * p};
}

MotionLook OnboardingMotion::wordOut(double p) {
    return {.opacity = clamp01(1 - p), .dy = -14 * p};
}

MotionLook OnboardingMotion::doneMark(double p) {
    return {.opacity = clamp01(p), .scale = 0.5 + 0.5 * p};
}

MotionLook OnboardingMotion::doneTitle(double p) {
    return {.opacity = clamp01(p), .dy = 16 * (1 - p)};
}

MotionLook OnboardingMotion::doneGrid(double p) {
    return {.opacity = clamp01(p), .dy = 20 * (1 - p)};
}

OnboardingMotion::KeyLook OnboardingMotion::key(bool selectable, double chosen, double lit) {
    const double rest = selectable ? 0.06 : 0.03;
    const double c = clamp01(chosen), l = clamp01(lit);
    return {.fill = rest + (1 - rest) * c - 0.18 * l,
            .edge = (0.1 + 0.3 * c) * (1 - l),
            .white = c,
            .scale = 1 - 0.06 * lit,
            .dy = 2 * lit};
}

MotionLook OnboardingMotion::checkIn(double p) {
    return {.opacity = clamp01(p), .scale = std::max(0.00001, p)};
}

std::vector<OnboardingMotion::Beat>
OnboardingMotion::welcomeTimeline(const QStringList& greetings) {
    using K = Beat::Kind;
    std::vector<Beat> beats;
    double t = 0.35;
    beats.push_back({t, K::phase, 1, {}, spring(1.1, 0.72)});
    beats.push_back({t, K::ripple, 0, {}, easeOut(1.6)});
    t += 0.8;
    beats.push_back({t, K::phase, 2, {}, easeOut(0.5)});
    for (qsizetype i = 1; i < greetings.size(); ++i) {
        t += 0.43;
        beats.push_back({t, K::word, 0, greetings[i], spring(0.45, 0.85)});
    }
    t += 0.5;
    beats.push_back({t, K::phase, 3, {}, spring(0.7, 0.8)});
    t += 0.9;
    beats.push_back({t, K::phase, 4, {}, {Curve::Kind::spring, Theme::morph(), 0}});
    return beats;
}

} // namespace nolvea
