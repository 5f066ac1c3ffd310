#pragma once

#include "platform/FrontWindow.h"

#include <optional>

namespace nolvea {

// Finds the window in front. Used on the main thread.
class FrontWindowReader {
public:
    virtual ~FrontWindowReader() = default;

    // The active window, or nothing when there is none or the window system cannot be asked.
    virtual std::optional<FrontWindow> frontWindow() = 0;
};

} // namespace nolvea
