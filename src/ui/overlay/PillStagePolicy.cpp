#include "ui/overlay/PillStagePolicy.h"

namespace nolvea {

PillStagePolicy PillStagePolicy::of(AppState::Stage stage) {
    using Stage = AppState::Stage;
    switch (stage) {
    case Stage::idle:
        return {false, false, false, false};
    case Stage::confirming:
        return {true, true, true, true};
    case Stage::answer:
        return {true, false, false, true};
    case Stage::listening:
    case Stage::processing:
    case Stage::success:
    case Stage::error:
        return {false, false, false, true};
    }
    return {};
}

} // namespace nolvea
