#pragma once

#include "support/RawEnum.h"

namespace nolvea {

// How answers are spoken: the system voice or the local neural speech server.
enum class VoiceEngine { apple, neural };

template <> struct RawNames<VoiceEngine> {
    static constexpr std::array<std::string_view, 2> names{"apple", "neural"};
};

} // namespace nolvea
