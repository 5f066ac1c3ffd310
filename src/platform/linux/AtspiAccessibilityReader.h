#pragma once

#include "platform/AccessibilityReader.h"

namespace nolvea {

// The accessibility layer of the Linux desktop (AT-SPI, through libatspi). "Enabled" is the
// bus's own switch (`org.a11y.Status.IsEnabled`), which toolkits follow to expose their
// elements. Used on the main thread.
class AtspiAccessibilityReader final : public AccessibilityReader {
public:
    bool isEnabled() override;
    std::optional<FocusedText> focusedText(qint32 processID,
                                           std::chrono::milliseconds budget) override;

    // Whether the accessibility bus runs in this session.
    static bool busRuns();
    // Switches the bus's "enabled" flag; false when the bus did not take it.
    static bool setEnabled(bool enabled);
};

} // namespace nolvea
