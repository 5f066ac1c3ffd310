#include "platform/linux/EwmhFrontWindowReader.h"

#include "platform/linux/DesktopApplications.h"
#include "platform/linux/DesktopIcon.h"
#include "platform/linux/X11Display.h"

#include <QImage>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

namespace nolvea {

namespace {

constexpr auto kActivationPoll = std::chrono::milliseconds(10);
constexpr int kActivationPolls = 30;

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

qint32 processOf(Display* dpy, Window window) {
    const QByteArray pid =
        property(dpy, window, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL);
    if (pid.size() < qsizetype(sizeof(long))) return 0;
    return qint32(*reinterpret_cast<const long*>(pid.constData()));
}

// A window manager that follows the EWMH is running: the root names its check window, and
// that window names itself (a manager that ended may leave the root's property behind).
bool hasWindowManager(Display* dpy) {
    const Window check = windowProperty(dpy, DefaultRootWindow(dpy), "_NET_SUPPORTING_WM_CHECK");
    return check != None && windowProperty(dpy, check, "_NET_SUPPORTING_WM_CHECK") == check;
}

bool isOnScreen(Display* dpy, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(dpy, window, &attributes) && attributes.map_state == IsViewable &&
           !attributes.override_redirect;
}

// The top-level client windows, bottom to top: the window manager's stacking list, else the
// root's children (and, below frames, their first client).
QList<Window> clientsBottomToTop(Display* dpy) {
    const Window root = DefaultRootWindow(dpy);
    const QByteArray stacking =
        property(dpy, root, XInternAtom(dpy, "_NET_CLIENT_LIST_STACKING", False), XA_WINDOW);
    QList<Window> out;
    if (!stacking.isEmpty()) {
        const auto* ids = reinterpret_cast<const unsigned long*>(stacking.constData());
        for (qsizetype i = 0; i < stacking.size() / qsizetype(sizeof(long)); ++i)
            out << Window(ids[i]);
        return out;
    }
    Window rootReturn = None, parent = None;
    Window* children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy, root, &rootReturn, &parent, &children, &n)) return out;
    for (unsigned int i = 0; i < n; ++i) {
        if (hasClass(dpy, children[i])) {
            out << children[i];
            continue;
        }
        Window* inner = nullptr;
        unsigned int m = 0;
        if (!XQueryTree(dpy, children[i], &rootReturn, &parent, &inner, &m)) continue;
        for (unsigned int j = 0; j < m; ++j)
            if (hasClass(dpy, inner[j])) {
                out << inner[j];
                break;
            }
        if (inner) XFree(inner);
    }
    if (children) XFree(children);
    return out;
}

// The largest image of the window's _NET_WM_ICON (width, height, then that many ARGB
// pixels, again for each size); null when it has none that is whole.
QImage windowIcon(Display* dpy, Window window) {
    const QByteArray v =
        property(dpy, window, XInternAtom(dpy, "_NET_WM_ICON", False), XA_CARDINAL);
    const auto* items = reinterpret_cast<const unsigned long*>(v.constData());
    const qsizetype count = v.size() / qsizetype(sizeof(long));
    qsizetype best = -1;
    unsigned long bestArea = 0;
    for (qsizetype i = 0; i + 2 <= count;) {
        const unsigned long w = items[i], h = items[i + 1];
        // A side beyond any icon's (or a sum that wraps) means the rest cannot be read.
        if (w == 0 || h == 0 || w > 4096 || h > 4096 || qsizetype(w * h) > count - i - 2) break;
        if (w * h > bestArea) {
            best = i;
            bestArea = w * h;
        }
        i += 2 + qsizetype(w * h);
    }
    if (best < 0) return {};
    const int w = int(items[best]), h = int(items[best + 1]);
    QImage image(w, h, QImage::Format_ARGB32);
    const unsigned long* pixel = items + best + 2;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = QRgb(*pixel++ & 0xffffffffu);
    }
    return image;
}

QString classOf(Display* dpy, Window window) {
    // WM_CLASS holds the instance name and then the class name, each ending in a NUL.
    const QList<QByteArray> names = property(dpy, window, XA_WM_CLASS, XA_STRING).split('\0');
    const QString windowClass = QString::fromLocal8Bit(names.value(1));
    return windowClass.isEmpty() ? QString::fromLocal8Bit(names.value(0)) : windowClass;
}

} // namespace

EwmhFrontWindowReader::EwmhFrontWindowReader(QByteArray displayName)
    : m_displayName(std::move(displayName)) {}

EwmhFrontWindowReader::~EwmhFrontWindowReader() = default;

Display* EwmhFrontWindowReader::display() {
    if (m_display && m_display->isBroken()) m_display.reset(); // try a new connection
    if (!m_display) {
        auto opened = X11Display::open(m_displayName);
        if (std::holds_alternative<DesktopError>(opened)) return nullptr;
        m_display = std::move(std::get<std::unique_ptr<X11Display>>(opened));
    }
    return m_display->get();
}

std::optional<FrontWindow> EwmhFrontWindowReader::frontWindow() {
    Display* dpy = display();
    if (!dpy) return std::nullopt;
    const Window window = activeWindow(dpy);
    if (window == None) return std::nullopt;

    FrontWindow front;
    front.windowClass = classOf(dpy, window);
    front.appName = front.windowClass;
    front.title = title(dpy, window);
    front.processID = processOf(dpy, window);
    return front;
}

bool EwmhFrontWindowReader::bringToFront(qint32 processID) {
    if (processID <= 0) return false;
    Display* dpy = display();
    if (!dpy) return false;
    Window target = None;
    const QList<Window> clients = clientsBottomToTop(dpy);
    for (auto it = clients.rbegin(); it != clients.rend() && target == None; ++it)
        if (processOf(dpy, *it) == processID && isOnScreen(dpy, *it)) target = *it;
    if (target == None) return false;

    const Window active = activeWindow(dpy);
    if (active != None && processOf(dpy, active) == processID) return true;

    if (hasWindowManager(dpy)) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2; // on the person's behalf, like a task bar
        event.xclient.data.l[1] = CurrentTime;
        event.xclient.data.l[2] = long(active);
        XSendEvent(dpy, DefaultRootWindow(dpy), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
        // The manager acts on its own time; the paste that follows must find the window in
        // front. A manager that refuses is not waited for long.
        for (int i = 0; i < kActivationPolls; ++i) {
            XSync(dpy, False);
            if (m_display->isBroken()) return false;
            if (windowProperty(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW") == target)
                return true;
            std::this_thread::sleep_for(kActivationPoll);
        }
        return false;
    }
    // Nobody manages the windows: do what a window manager would.
    XRaiseWindow(dpy, target);
    XSetInputFocus(dpy, target, RevertToParent, CurrentTime);
    XSync(dpy, False);
    return !m_display->isBroken();
}

QVariant EwmhFrontWindowReader::applicationIcon(qint32 processID) {
    if (processID <= 0) return {};
    Display* dpy = display();
    if (!dpy) return {};
    // Its topmost window that shows an icon; else the desktop entry of its topmost window.
    QString windowClass;
    const QList<Window> clients = clientsBottomToTop(dpy);
    for (auto it = clients.rbegin(); it != clients.rend(); ++it) {
        if (processOf(dpy, *it) != processID) continue;
        const QImage icon = windowIcon(dpy, *it);
        if (!icon.isNull()) return icon;
        if (windowClass.isEmpty()) windowClass = classOf(dpy, *it);
    }
    if (windowClass.isEmpty()) return {};
    // Reading every desktop entry takes a while and runs as listening starts: once a class.
    auto cached = m_entryIcons.constFind(windowClass);
    if (cached == m_entryIcons.cend()) {
        const auto entry = DesktopApplications().forWindowClass(windowClass);
        cached =
            m_entryIcons.insert(windowClass, entry ? DesktopIcon::load(entry->icon) : QImage());
    }
    return cached->isNull() ? QVariant() : QVariant(*cached);
}

} // namespace nolvea
