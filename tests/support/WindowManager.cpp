#include "support/WindowManager.h"

#include "support/Async.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace nolvea::test {

namespace {

bool isListed(Display* dpy, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "_NET_CLIENT_LIST", False),
                           0, 1024, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) != Success ||
        !data)
        return false;
    const auto* ids = reinterpret_cast<const unsigned long*>(data);
    bool found = false;
    for (unsigned long i = 0; i < count; ++i)
        found = found || ids[i] == window;
    XFree(data);
    return found;
}

// Whether the manager takes a window mapped now. One mapped while it is still starting may
// never be managed, so the tests wait until a probe window is.
bool managesNewWindows() {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return false;
    bool managed = false;
    for (int attempt = 0; attempt < 20 && !managed; ++attempt) {
        const Window probe =
            XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 10, 10, 0, 0, 0);
        XMapWindow(dpy, probe);
        XSync(dpy, False);
        managed = spinUntil([&] { return isListed(dpy, probe); }, 500);
        XDestroyWindow(dpy, probe);
        XSync(dpy, False);
        // The next client reuses this connection's window ids: a manager still busy with the
        // probe would take the new window for it, and give it the probe's size and place.
        spinUntil([&] { return !isListed(dpy, probe); }, 5000);
    }
    XCloseDisplay(dpy);
    return managed;
}

} // namespace

QByteArray WindowManager::rootProperty(const char* name) {
    QProcess xprop;
    xprop.start("xprop", {"-root", name});
    xprop.waitForFinished();
    return xprop.readAllStandardOutput();
}

WindowManager::WindowManager() {
    m_process.start("openbox", {"--sm-disable"});
    m_running =
        m_process.waitForStarted() &&
        spinUntil([] { return rootProperty("_NET_SUPPORTING_WM_CHECK").contains("window id"); }) &&
        managesNewWindows();
}

WindowManager::~WindowManager() {
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) m_process.kill();
    m_process.waitForFinished();
    for (const char* name :
         {"_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW", "_NET_CLIENT_LIST",
          "_NET_CLIENT_LIST_STACKING", "_NET_SUPPORTED", "_NET_WORKAREA", "_NET_DESKTOP_NAMES",
          "_NET_NUMBER_OF_DESKTOPS", "_NET_CURRENT_DESKTOP", "_NET_DESKTOP_GEOMETRY",
          "_NET_DESKTOP_VIEWPORT", "_OB_THEME", "_OB_VERSION", "_OB_CONFIG_FILE"})
        QProcess::execute("xprop", {"-root", "-remove", name});
}

} // namespace nolvea::test
