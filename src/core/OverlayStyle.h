#pragma once

#include "support/RawEnum.h"

namespace nolvea {

// Which overlay shows the interaction: the island under the top edge or the bottom pill.
enum class OverlayStyle { notch, pill };

template <> struct RawNames<OverlayStyle> {
    static constexpr std::array<std::string_view, 2> names{"notch", "pill"};
};

} // namespace nolvea
