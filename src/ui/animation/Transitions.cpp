#include "ui/animation/Transitions.h"

#include "ui/components/EffectsModel.h"

#include <algorithm>

namespace nolvea {

namespace {
double mix(double from, double to, double progress) {
    return from + (to - from) * progress;
}
double clamped(double progress) {
    return std::clamp(progress, 0.0, 1.0);
}
} // namespace

TransitionLook Transitions::blurReplace(double progress) {
    TransitionLook l;
    l.scale = mix(kBlurReplaceScale, 1, progress);
    l.opacity = clamped(progress);
    l.blur = kBlurReplaceBlur * (1 - clamped(progress));
    return l;
}

TransitionLook Transitions::scaleFade(double from, QPointF anchor, double progress) {
    TransitionLook l;
    l.scale = mix(from, 1, progress);
    l.anchor = anchor;
    l.opacity = clamped(progress);
    return l;
}

TransitionLook Transitions::liquidAppear(double progress) {
    const EffectsModel::Appearance a = EffectsModel::liquidAppear(progress);
    TransitionLook l;
    l.scale = a.scale;
    l.anchor = QPointF(0.5, 1);
    l.offset = QPointF(0, a.offsetY);
    l.opacity = a.opacity;
    return l;
}

TransitionLook Transitions::rise(double distance, double progress) {
    TransitionLook l;
    l.offset = QPointF(0, distance * (1 - progress));
    l.opacity = clamped(progress);
    return l;
}

KeyframeTrack Transitions::bounce() {
    const SpringSpec quick{0.16, 0.7, 0};
    return KeyframeTrack(1, {{1.22, 0.11, quick}, {0.92, 0.12, quick}, {1, 0.25, quick}});
}

} // namespace nolvea
