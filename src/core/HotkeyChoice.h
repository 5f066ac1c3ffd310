#pragma once

#include "support/RawEnum.h"

namespace nolvea {

// The push-to-talk key.
enum class HotkeyChoice { fn, rightOption, rightCommand };

template <> struct RawNames<HotkeyChoice> {
    static constexpr std::array<std::string_view, 3> names{"fn", "rightOption", "rightCommand"};
};

} // namespace nolvea
