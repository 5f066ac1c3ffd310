#pragma once

namespace nolvea {

// The keystroke that makes the front window paste.
enum class PasteChord {
    controlV,      // most applications
    controlShiftV, // terminals, where Control+V means something else
};

} // namespace nolvea
