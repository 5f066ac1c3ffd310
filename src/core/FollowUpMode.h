#pragma once

#include "support/RawEnum.h"

namespace nolvea {

// When to listen again after a spoken answer.
enum class FollowUpMode { never, whenAsked, always };

template <> struct RawNames<FollowUpMode> {
    static constexpr std::array<std::string_view, 3> names{"never", "whenAsked", "always"};
};

} // namespace nolvea
