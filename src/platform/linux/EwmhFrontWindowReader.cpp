#include "platform/linux/EwmhFrontWindowReader.h"

#include "platform/linux/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace nolvea {

namespace {

// One property of `window`, whole; empty when absent.
QByteArray property(Display* dpy, Window window, Atom name, Atom type, int* format = nullptr) {
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, window, name, 0, 1 << 20, False, type, &actualType, &actualFormat,
                           &count, &after, &data) != Success ||
        !data)
        return {};
    // Format-32 items are longs on the client side.
    const int itemSize = actualFormat == 32 ? int(sizeof(long)) : actualFormat / 8;
    QByteArray out(reinterpret_cast<const char*>(data), qsizetype(count) * itemSize);
    XFree(data);
    if (format) *format = actualFormat;
    return out;
}

Window windowProperty(Display* dpy, Window window, const char* name) {
    const QByteArray v = property(dpy, window, XInternAtom(dpy, name, False), XA_WINDOW);
    if (v.size() < qsizetype(sizeof(long))) return None;
    return Window(*reinterpret_cast<const unsigned long*>(v.constData()));
}

bool hasClass(Display* dpy, Window window) {
    return !property(dpy, window, XA_WM_CLASS, XA_STRING).isEmpty();
}

// The top-level client at or above `window`: the first that carries a class.
Window clientOf(Display* dpy, Window window) {
    const Window root = DefaultRootWindow(dpy);
    for (int depth = 0; window != None && window != root && depth < 64; ++depth) {
        if (hasClass(dpy, window)) return window;
        Window rootReturn = None, parent = None;
        Window* children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(dpy, window, &rootReturn, &parent, &children, &n)) return None;
        if (children) XFree(children);
        window = parent;
    }
    return None;
}

Window activeWindow(Display* dpy) {
    const Window active = windowProperty(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW");
    if (active != None) return active;
    Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    if (focus == None || focus == PointerRoot) return None;
    return clientOf(dpy, focus);
}

QString title(Display* dpy, Window window) {
    const QByteArray utf8 = property(dpy, window, XInternAtom(dpy, "_NET_WM_NAME", False),
                                     XInternAtom(dpy, "UTF8_STRING", False));
    if (!utf8.isEmpty()) return QString::fromUtf8(utf8);
    XTextProperty text{};
    if (!XGetWMName(dpy, window, &text) || !text.value) return {};
    QString out;
    char** list = nullptr;
    int n = 0;
    if (Xutf8TextPropertyToTextList(dpy, &text, &list, &n) >= Success && n > 0 && list)
        out = QString::fromUtf8(list[0]);
    if (list) XFreeStringList(list);
    XFree(text.value);
    return out;
}

} // namespace

EwmhFrontWindowReader::EwmhFrontWindowReader(QByteArray displayName)
    : m_displayName(std::move(displayName)) {}

EwmhFrontWindowReader::~EwmhFrontWindowReader() = default;

std::optional<FrontWindow> EwmhFrontWindowReader::frontWindow() {
    if (m_display && m_display->isBroken()) m_display.reset(); // try a new connection
    if (!m_display) {
        auto opened = X11Display::open(m_displayName);
        if (std::holds_alternative<DesktopError>(opened)) return std::nullopt;
        m_display = std::move(std::get<std::unique_ptr<X11Display>>(opened));
    }
    Display* dpy = m_display->get();
    const Window window = activeWindow(dpy);
    if (window == None) return std::nullopt;

    FrontWindow front;
    // WM_CLASS holds the instance name and then the class name, each ending in a NUL.
    const QList<QByteArray> names = property(dpy, window, XA_WM_CLASS, XA_STRING).split('\0');
    front.windowClass = QString::fromLocal8Bit(names.value(1));
    if (front.windowClass.isEmpty()) front.windowClass = QString::fromLocal8Bit(names.value(0));
    front.appName = front.windowClass;
    front.title = title(dpy, window);
    const QByteArray pid =
        property(dpy, window, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL);
    if (pid.size() >= qsizetype(sizeof(long)))
        front.processID = qint32(*reinterpret_cast<const long*>(pid.constData()));
    return front;
}

} // namespace nolvea
