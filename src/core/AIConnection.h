#pragma once

#include "support/RawEnum.h"

namespace nolvea {

// State of the link to the chosen language model, as the model-connection monitor reports it.
enum class AIConnection { unknown, checking, online, offline, sleeping };

template <> struct RawNames<AIConnection> {
    static constexpr std::array<std::string_view, 5> names{"unknown", "checking", "online",
                                                           "offline", "sleeping"};
};

} // namespace nolvea
