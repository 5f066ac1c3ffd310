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

// Whether the key with these symbols shifts others to their third or fifth level: AltGr in
// most layouts but the US one.
bool shiftsLevels(const KeySym* syms, int count) {
    for (int i = 0; i < count; ++i)
        if (syms[i] == XK_ISO_Level3_Shift || syms[i] == XK_ISO_Level5_Shift ||
            syms[i] == XK_Mode_switch || syms[i] == XK_ISO_Level3_Latch ||
            syms[i] == XK_ISO_Level5_Latch)
            return true;
    return false;
}

// The keycodes whose first symbol is `key`, as the listener classifies them, leaving out the
// keys other keys need to type their characters. Read from the server, so a layout changed
// meanwhile is seen.
std::vector<unsigned char> keycodesToGrab(Display* dpy, KeyEvent::Key key) {
    int low = 0, high = 0;
    XDisplayKeycodes(dpy, &low, &high);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(dpy, KeyCode(low), high - low + 1, &perCode);
    std::vector<unsigned char> codes;
    if (!map) return codes;
    for (int code = low; code <= high; ++code) {
        const KeySym* syms = map + (code - low) * perCode;
        if (classify(syms[0]) == key && !shiftsLevels(syms, perCode))
            codes.push_back(static_cast<unsigned char>(code));
    }
    XFree(map);
    return codes;
}

} // namespace

XInputKeySource::XInputKeySource(QByteArray displayName)
    : m_displayName(std::move(displayName)) {}

XInputKeySource::~XInputKeySource() {
    // Closing the connection ends its grabs.
    if (m_thread) {
        m_stopping = true;
        wake();
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
    // A changed layout comes as XKB events alone: a client that speaks XKB, as every Xlib
    // client does, gets no core MappingNotify.
    int xkbOpcode = 0, xkbMajor = XkbMajorVersion, xkbMinor = XkbMinorVersion;
    if (XkbQueryExtension(dpy, &xkbOpcode, &m_xkbEventBase, &error, &xkbMajor, &xkbMinor)) {
        const unsigned int changes = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
        XkbSelectEvents(dpy, XkbUseCoreKbd, changes, changes);
    } else {
        m_xkbEventBase = -1;
    }
    XSync(dpy, False);

    // The server hands the raw events of a grabbed keyboard to every client but the grabbing
    // one: the grabs live on a connection of their own.
    auto grabbing = X11Display::open(m_displayName);
    if (auto* error = std::get_if<DesktopError>(&grabbing)) return *error;

    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return DesktopError(DesktopError::Kind::unreachable);
    m_display = std::move(display);
    m_grabDisplay = std::move(std::get<std::unique_ptr<X11Display>>(grabbing));
    m_xiOpcode = opcode;
    m_sink = std::move(sink);
    applyGrab(); // a key asked for before the start; no thread uses the connections yet
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->setObjectName(QStringLiteral("Nolvea.teclado"));
    m_thread->start(QThread::TimeCriticalPriority);
    return std::nullopt;
}

void XInputKeySource::setTriggerKey(std::optional<KeyEvent::Key> key) {
    std::unique_lock lock(m_grabMutex);
    m_grabKey = key;
    const quint64 wanted = ++m_grabWanted;
    if (!m_thread) return; // put in place by `start`
    lock.unlock();
    wake();
    lock.lock();
    // One round trip on the thread; a thread that ended grabs nothing.
    m_grabApplied.wait_for(lock, std::chrono::seconds(2),
                           [&] { return m_grabDone >= wanted || m_ended; });
}

void XInputKeySource::wake() {
    const char byte = 1;
    [[maybe_unused]] auto n = ::write(m_wake[1], &byte, 1);
}

void XInputKeySource::applyGrab() {
    std::optional<KeyEvent::Key> key;
    quint64 wanted = 0;
    {
        std::lock_guard lock(m_grabMutex);
        if (m_grabDone == m_grabWanted && !m_layoutChanged) return;
        key = m_grabKey;
        wanted = m_grabWanted;
    }
    m_layoutChanged = false;
    Display* dpy = m_grabDisplay->get();
    const Window root = DefaultRootWindow(dpy);
    for (unsigned char code : m_grabbedCodes)
        XUngrabKey(dpy, code, AnyModifier, root);
    m_grabbedCodes = key ? keycodesToGrab(dpy, *key) : std::vector<unsigned char>{};
    // One grab for each combination of modifiers rather than AnyModifier: a combination that
    // another program already grabbed is refused alone, the others still hold.
    for (unsigned char code : m_grabbedCodes)
        for (unsigned int mods = 0; mods <= 0xff; ++mods)
            XGrabKey(dpy, code, mods, root, False, GrabModeAsync, GrabModeAsync);
    XSync(dpy, False);
    {
        std::lock_guard lock(m_grabMutex);
        m_grabDone = wanted;
    }
    m_grabApplied.notify_all();
}

void XInputKeySource::deliver(const KeyEvent& event) {
    std::lock_guard lock(m_sinkMutex);
    if (m_sink) m_sink(event);
}

void XInputKeySource::run() {
    Display* dpy = m_display->get();
    Display* grabbing = m_grabDisplay->get();
    pollfd fds[3] = {{ConnectionNumber(dpy), POLLIN, 0},
                     {m_wake[0], POLLIN, 0},
                     {ConnectionNumber(grabbing), POLLIN, 0}};
    while (!m_stopping && !m_display->isBroken() && !m_grabDisplay->isBroken()) {
        applyGrab();
        // The grabbed key events themselves carry nothing the raw ones do not.
        while (!m_grabDisplay->isBroken() && XPending(grabbing) > 0) {
            XEvent ev;
            XNextEvent(grabbing, &ev);
        }
        while (!m_display->isBroken() && XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MappingNotify || (m_xkbEventBase >= 0 && ev.type == m_xkbEventBase)) {
                // Another layout may move the trigger or make it AltGr: grab afresh, before
                // the keys that follow the change are judged.
                if (ev.type == MappingNotify)
                    XRefreshKeyboardMapping(&ev.xmapping);
                else if (reinterpret_cast<XkbEvent&>(ev).any.xkb_type == XkbMapNotify)
                    XkbRefreshKeyboardMapping(&reinterpret_cast<XkbEvent&>(ev).map);
                m_layoutChanged = true;
                applyGrab();
                continue;
            }
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
        if (m_display->isBroken() || m_grabDisplay->isBroken()) break;
        if (::poll(fds, 3, -1) < 0 && errno != EINTR) break;
        // The server went away.
        if ((fds[0].revents | fds[2].revents) & (POLLERR | POLLHUP | POLLNVAL)) break;
        if (fds[1].revents & POLLIN) {
            char bytes[64];
            while (::read(m_wake[0], bytes, sizeof bytes) > 0) {
            }
        }
    }
    // Nobody waits for a grab that can no longer be made.
    {
        std::lock_guard lock(m_grabMutex);
        m_ended = true;
    }
    m_grabApplied.notify_all();
}

} // namespace nolvea
