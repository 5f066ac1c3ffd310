#include "ui/composer/ComposerMotion.h"

#include <algorithm>

namespace nolvea {

namespace {
double opacity(double progress) {
    return std::clamp(progress, 0.0, 1.0);
}
} // namespace

ComposerMotion::Timing ComposerMotion::entrance(int index) {
    return {Theme::snappy(), kStaggerStep * index};
}

MotionPose ComposerMotion::entrancePose(double progress) {
    return {.opacity = opacity(progress), .offset = {0, kRise * (1 - progress)}};
}

SpringSpec ComposerMotion::spring(Change change) {
    return change == Change::original ? Theme::gentle() : Theme::snappy();
}

MotionPose ComposerMotion::chipPose(double progress) {
    return {.opacity = opacity(progress), .scale = 0.7 + 0.3 * progress};
}

MotionPose ComposerMotion::fade(double progress) {
    return {.opacity = opacity(progress)};
}

TransitionLook ComposerMotion::crossFade(double progress) {
    return {.opacity = opacity(progress)};
}

} // namespace nolvea
