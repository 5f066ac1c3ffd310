#pragma once

#include "support/RawEnum.h"

namespace nolvea {

// The three host permissions the assistant depends on.
enum class PermissionKind { microphone, accessibility, inputMonitoring };

template <> struct RawNames<PermissionKind> {
    static constexpr std::array<std::string_view, 3> names{"microphone", "accessibility",
                                                           "inputMonitoring"};
};

} // namespace nolvea
