#pragma once

#include "platform/PermissionKind.h"

#include <functional>

namespace nolvea {

// What the host grants. On Linux: the microphone counts as granted when an input device
// exists, accessibility when the AT-SPI bus is enabled, input monitoring when the X11 server
// offers XInput2. None of the queries asks the person anything.
class PermissionProbe {
public:
    virtual ~PermissionProbe() = default;

    virtual bool isGranted(PermissionKind kind) = 0;
    // Whether the host would still ask the person for the microphone (never on Linux).
    virtual bool microphoneUndetermined() { return false; }
    // Asks the host for the microphone; `answered` runs once, on any thread.
    virtual void requestMicrophone(std::function<void(bool granted)> answered) { answered(false); }
    // Asks for accessibility (may switch it on); true when it is granted afterwards.
    virtual bool requestAccessibility() = 0;
    // Asks for input monitoring; true when it is granted afterwards.
    virtual bool requestInputMonitoring() = 0;
    // Opens the desktop's settings page for `kind` when one is known; false when none opened.
    virtual bool openSettings(PermissionKind kind) = 0;
};

} // namespace nolvea
