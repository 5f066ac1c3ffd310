#pragma once

#include "platform/KeyPoster.h"

#include <QByteArray>

#include <memory>

namespace nolvea {

class X11Display;

// Keystrokes posted through the XTest extension; they reach the window with the keyboard
// focus as if typed. Used on one thread (the main one).
class XTestKeyPoster final : public KeyPoster {
public:
    // `displayName`: the session's display when empty.
    explicit XTestKeyPoster(QByteArray displayName = {});
    ~XTestKeyPoster() override;

    std::optional<DesktopError> post(PasteChord chord) override;

private:
    QByteArray m_displayName;
    std::unique_ptr<X11Display> m_display;
};

} // namespace nolvea
