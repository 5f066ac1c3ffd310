#pragma once

#include "core/AppState.h"

namespace nolvea {

// How the pill's panel behaves at a stage: whether clicks reach it, whether it may and does
// take the keyboard, and whether it shows (at idle it hides after a pause).
struct PillStagePolicy {
    bool acceptsMouse = false;
    bool allowsKey = false;
    bool makesKey = false;
    bool shows = false;

    bool operator==(const PillStagePolicy&) const = default;

    static PillStagePolicy of(AppState::Stage stage);
};

} // namespace nolvea
