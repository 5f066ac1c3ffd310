#include "platform/linux/XInputKeySource.h"

#include "platform/linux/X11Display.h"

#include <QThread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace nolvea {

namespace {

bool isModifierSym(KeySym sym) {
    return IsModifierKey(sym) || sym == XK_ISO_Level3_Shift || sym == XK_ISO_Level5_Shift ||
           sym == XK_Mode_switch || sym == XK_Num_Lock || sym == XK_Caps_Lock ||
           sym == XK_Shift_Lock || sym == XK_ISO_Level3_Latch || sym == XK_ISO_Level5_Latch;
}

KeyEvent::Key classify(KeySym sym) {
    using Key = KeyEvent::Key;
    switch (sym) {
    case XK_Menu:
        return Key::menu;
    case XK_Alt_R:
    case XK_ISO_Level3_Shift:
        return Key::rightAlt;
    case XK_Super_R:
        return Key::rightSuper;
    case XK_Control_L:
        return Key::leftControl;
    case XK_Control_R:
        return Key::rightControl;
    case XK_Escape:
        return Key::escape;
    default:
        return isModifierSym(sym) ? Key::modifier : Key::other;
    }
}

} // namespace

XInputKeySource::XInputKeySource(QByteArray displayName)
    : m_displayName(std::move(displayName)) {}

XInputKeySource::~XInputKeySource() {
    if (m_thread) {
        m_stopping = true;
        const char byte = 1;
        [[maybe_unused]] auto n = ::write(m_wake[1], &byte, 1);
        m_thread->wait();
    }
    for (int fd : m_wake)
        if (fd >= 0) ::close(fd);
}

std::optional<DesktopError> XInputKeySource::start(Sink sink) {
    if (m_thread) {
        std::lock_guard lock(m_sinkMutex);
        m_sink = std::move(sink);
        return std::nullopt;
    }
    auto opened = X11Display::open(m_displayName);
    if (auto* error = std::get_if<DesktopError>(&opened)) return *error;
    auto display = std::move(std::get<std::unique_ptr<X11Display>>(opened));
    Display* dpy = display->get();

    int opcode = 0, event = 0, error = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &opcode, &event, &error))
        return DesktopError(DesktopError::Kind::noXInput2);
    int major = 2, minor = 1; // raw events reach every client from 2.1 on
    if (XIQueryVersion(dpy, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1))
        return DesktopError(DesktopError::Kind::noXInput2);

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, int(sizeof(bits)), bits};
    XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
    XSync(dpy, False);

    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return DesktopError(DesktopError::Kind::unreachable);
    m_display = std::move(display);
    m_xiOpcode = opcode;
    m_sink = std::move(sink);
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->setObjectName(QStringLiteral("Nolvea.teclado"));
    m_thread->start(QThread::TimeCriticalPriority);
    return std::nullopt;
}

void XInputKeySource::deliver(const KeyEvent& event) {
    std::lock_guard lock(m_sinkMutex);
    if (m_sink) m_sink(event);
}

void XInputKeySource::run() {
    Display* dpy = m_display->get();
    pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    while (!m_stopping && !m_display->isBroken()) {
        while (!m_display->isBroken() && XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            XGenericEventCookie* cookie = &ev.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode) continue;
            if (!XGetEventData(dpy, cookie)) continue;
            if (cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) {
                const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
                const KeySym sym = XkbKeycodeToKeysym(dpy, KeyCode(raw->detail), 0, 0);
                deliver(KeyEvent{classify(sym), cookie->evtype == XI_RawKeyPress});
            }
            XFreeEventData(dpy, cookie);
        }
        if (m_display->isBroken()) return;
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return; // the server went away
    }
}

} // namespace nolvea
