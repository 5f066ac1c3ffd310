#include "platform/linux/XTestKeyPoster.h"

#include "platform/linux/X11Display.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <vector>

namespace nolvea {

XTestKeyPoster::XTestKeyPoster(QByteArray displayName)
    : m_displayName(std::move(displayName)) {}

XTestKeyPoster::~XTestKeyPoster() = default;

std::optional<DesktopError> XTestKeyPoster::post(PasteChord chord) {
    if (m_display && m_display->isBroken()) m_display.reset(); // try a new connection
    if (!m_display) {
        auto opened = X11Display::open(m_displayName);
        if (auto* error = std::get_if<DesktopError>(&opened)) return *error;
        m_display = std::move(std::get<std::unique_ptr<X11Display>>(opened));
    }
    Display* dpy = m_display->get();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(dpy, &event, &error, &major, &minor))
        return DesktopError(DesktopError::Kind::noXTest);

    std::vector<KeySym> syms{XK_Control_L};
    if (chord == PasteChord::controlShiftV) syms.push_back(XK_Shift_L);
    syms.push_back(XK_v);
    std::vector<KeyCode> codes;
    for (KeySym sym : syms) {
        const KeyCode code = XKeysymToKeycode(dpy, sym);
        if (code == 0) return DesktopError(DesktopError::Kind::keyUnavailable);
        codes.push_back(code);
    }
    for (KeyCode code : codes)
        XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    for (auto it = codes.rbegin(); it != codes.rend(); ++it)
        XTestFakeKeyEvent(dpy, *it, False, CurrentTime);
    XSync(dpy, False);
    if (m_display->isBroken()) return DesktopError(DesktopError::Kind::unreachable);
    return std::nullopt;
}

} // namespace nolvea
