#pragma once

#include "platform/DesktopError.h"

#include <QByteArray>

#include <atomic>
#include <memory>
#include <variant>

struct _XDisplay;

namespace nolvea {

// One connection to the X11 server, closed when dropped. A connection serves one thread.
class X11Display {
public:
    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    // Connects to `name` (the session's DISPLAY when empty). Without any display name at all
    // (a Wayland session) this says once per process, in the log, that X11 is needed.
    static std::variant<std::unique_ptr<X11Display>, DesktopError>
    open(const QByteArray& name = {});

    _XDisplay* get() const { return m_display; }
    // Whether the connection broke (the server went away); nothing more can be done on it.
    bool isBroken() const { return m_broken; }
    void markBroken() { m_broken = true; }
    // Whether the session has an X11 display to connect to.
    static bool sessionHasX11();

private:
    explicit X11Display(_XDisplay* display)
        : m_display(display) {}
    _XDisplay* m_display;
    std::atomic_bool m_broken{false};
};

} // namespace nolvea
