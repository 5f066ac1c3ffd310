#pragma once

#include "platform/PermissionProbe.h"

namespace nolvea {

// The host permissions of a Linux desktop: the microphone is granted when an input device
// exists, accessibility when the AT-SPI bus is enabled, input monitoring when the X11 server
// offers XInput 2. The settings pages are those of GNOME and KDE Plasma when one of them runs.
class LinuxPermissionProbe final : public PermissionProbe {
public:
    bool isGranted(PermissionKind kind) override;
    // Switches the accessibility bus on.
    bool requestAccessibility() override;
    // Nothing to ask on X11: the answer is whether the server offers XInput 2.
    bool requestInputMonitoring() override;
    bool openSettings(PermissionKind kind) override;
};

} // namespace nolvea
