#include "ui/drawer/DrawerMotion.h"

#include <algorithm>

namespace nolvea {

SpringSpec DrawerMotion::spring(Change change) {
    switch (change) {
    case Change::open:
    case Change::expand:
    case Change::collapse:
    case Change::remove:
    case Change::counts:
        return Theme::gentle();
    case Change::close:
        return {0.38, 0.9, 0};
    case Change::hover:
    case Change::query:
    case Change::confirm:
    case Change::copied:
        return Theme::snappy();
    }
    return Theme::snappy();
}

MotionPose DrawerMotion::card(double progress, double travel) {
    return {.opacity = std::clamp(progress, 0.0, 1.0), .offset = {-(1 - progress) * travel, 0}};
}

MotionPose DrawerMotion::fade(double progress) {
    return {.opacity = std::clamp(progress, 0.0, 1.0)};
}

TransitionLook DrawerMotion::crossFade(double progress) {
    return {.opacity = std::clamp(progress, 0.0, 1.0)};
}

double DrawerMotion::rowFill(bool expanded, bool hovering) {
    return expanded ? 0.06 : hovering ? 0.045 : 0;
}

} // namespace nolvea
