#pragma once

#include "platform/DesktopError.h"
#include "platform/PasteChord.h"

#include <optional>

namespace nolvea {

// Posts synthetic keystrokes to whatever window has the keyboard focus.
class KeyPoster {
public:
    virtual ~KeyPoster() = default;

    // Presses and releases the chord; nothing when it was posted, else why not.
    virtual std::optional<DesktopError> post(PasteChord chord) = 0;
};

} // namespace nolvea
