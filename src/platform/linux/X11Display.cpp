#include "platform/linux/X11Display.h"

#include <QLoggingCategory>

#include <X11/Xlib.h>

#include <atomic>
#include <map>
#include <mutex>
#include <poll.h>

namespace nolvea {

namespace {
Q_LOGGING_CATEGORY(lcX11, "nolvea.x11")

// A broken connection of ours ends only the work on that connection, not the process. The
// handler is process-wide: connections of others (the toolkit's) go to the handler that was
// there before.
std::mutex ioMutex;
std::map<Display*, X11Display*> ourDisplays;
XIOErrorHandler previousIOHandler = nullptr;

int onIOError(Display* display) {
    {
        std::lock_guard lock(ioMutex);
        auto it = ourDisplays.find(display);
        if (it != ourDisplays.end()) {
            it->second->markBroken();
            return 0;
        }
    }
    return previousIOHandler ? previousIOHandler(display) : 0;
}

void keepRunningAfterIOError(Display*, void*) {}

// X errors on our connections (a window that vanished while we read it) are expected and seen
// in each call's result; the default handler would end the process.
XErrorHandler previousErrorHandler = nullptr;

int onXError(Display* display, XErrorEvent* event) {
    {
        std::lock_guard lock(ioMutex);
        if (ourDisplays.count(display)) return 0;
    }
    return previousErrorHandler ? previousErrorHandler(display, event) : 0;
}

void sayOnceThatX11IsNeeded() {
    static std::atomic_bool said{false};
    if (said.exchange(true)) return;
    qCWarning(lcX11).noquote() << DesktopError(DesktopError::Kind::noX11).message();
}
} // namespace

X11Display::~X11Display() {
    if (!m_display) return;
    // Closing a connection whose server is gone blocks forever inside Xlib: such a connection
    // is left as it is. One that breaks while closing is still ours for the error handler.
    pollfd fd{ConnectionNumber(m_display), POLLIN | POLLRDHUP, 0};
    if (::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLRDHUP | POLLERR))) m_broken = true;
    if (!m_broken) XCloseDisplay(m_display);
    std::lock_guard lock(ioMutex);
    ourDisplays.erase(m_display);
}

bool X11Display::sessionHasX11() {
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

std::variant<std::unique_ptr<X11Display>, DesktopError> X11Display::open(const QByteArray& name) {
    if (name.isEmpty() && !sessionHasX11()) {
        sayOnceThatX11IsNeeded();
        return DesktopError(DesktopError::Kind::noX11);
    }
    Display* display = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
    if (!display) return DesktopError(DesktopError::Kind::unreachable);
    static std::once_flag handlersInstalled;
    std::call_once(handlersInstalled, [] {
        previousErrorHandler = XSetErrorHandler(onXError);
        previousIOHandler = XSetIOErrorHandler(onIOError);
    });
    std::unique_ptr<X11Display> connection(new X11Display(display));
    {
        std::lock_guard lock(ioMutex);
        ourDisplays[display] = connection.get();
    }
    XSetIOErrorExitHandler(display, keepRunningAfterIOError, nullptr);
    return connection;
}

} // namespace nolvea
