#pragma once

#include "support/Error.h"

namespace nolvea {

// Why a desktop service (global keys, key posting, the clipboard, the front window, the
// screen) could not do its work.
class DesktopError final : public Error {
public:
    enum class Kind {
        noX11,          // no X11 display in this session (Wayland, or none at all)
        unreachable,    // the X11 server did not accept a connection
        noXInput2,      // the server lacks XInput 2, needed to hear the hotkey
        noXTest,        // the server lacks XTest, needed to post keys
        keyUnavailable, // the keyboard map has no key for a needed symbol
        noClipboard,    // no clipboard service is installed
        noScreen,       // no screen to capture
        imageFailed,    // the capture could not be made into an image
    };

    explicit DesktopError(Kind kind)
        : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    QString message() const override;

private:
    Kind m_kind;
};

} // namespace nolvea
