#pragma once

#include "platform/FocusedText.h"

#include <chrono>
#include <optional>

namespace nolvea {

// Reads other applications' focused elements through the desktop's accessibility layer.
// Used on the main thread.
class AccessibilityReader {
public:
    virtual ~AccessibilityReader() = default;

    // Whether the accessibility layer is switched on, so that applications expose their
    // elements.
    virtual bool isEnabled() = 0;
    // The focused element, looked for first in the application of `processID` (0: in any).
    // Gives up after `budget`: nothing when no focused element was found in time.
    virtual std::optional<FocusedText> focusedText(qint32 processID,
                                                   std::chrono::milliseconds budget) = 0;
};

} // namespace nolvea
