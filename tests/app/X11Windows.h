#pragma once

// The test display seen from outside the program: its windows by process and title, the tray
// host's icons, and pointer clicks through XTest.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace nolvea::test {

// Reads and pokes the display on a connection of its own.
class X11Windows {
public:
    X11Windows()
        : m_display(XOpenDisplay(nullptr)) {}
    ~X11Windows() {
        if (m_display) XCloseDisplay(m_display);
    }
    Display* get() const { return m_display; }

    Window trayManager() const {
        const Atom selection = XInternAtom(m_display, "_NET_SYSTEM_TRAY_S0", False);
        return XGetSelectionOwner(m_display, selection);
    }
    qint64 pidOf(Window w) const {
        const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        qint64 pid = 0;
        if (XGetWindowProperty(m_display, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) == Success &&
            data && count == 1)
            pid = qint64(*reinterpret_cast<unsigned long*>(data));
        if (data) XFree(data);
        return pid;
    }
    QString nameOf(Window w) const {
        const Atom name = XInternAtom(m_display, "_NET_WM_NAME", False);
        const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        QString out;
        if (XGetWindowProperty(m_display, w, name, 0, 1024, False, utf8, &type, &format, &count,
                               &after, &data) == Success &&
            data)
            out = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
        if (data) XFree(data);
        return out;
    }
    bool isViewable(Window w) const {
        XWindowAttributes a{};
        return XGetWindowAttributes(m_display, w, &a) && a.map_state == IsViewable;
    }
    QRect geometry(Window w) const {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(m_display, w, &a)) return {};
        Window child;
        int x = 0, y = 0;
        XTranslateCoordinates(m_display, w, DefaultRootWindow(m_display), 0, 0, &x, &y, &child);
        return {x, y, a.width, a.height};
    }
    // Every window below `top`, depth first, `top` included.
    QList<Window> subtree(Window top) const {
        QList<Window> out{top};
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, top, &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count; ++i)
                out << subtree(children[i]);
            if (children) XFree(children);
        }
        return out;
    }
    Window parentOf(Window w) const {
        Window root, parent = None, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, w, &root, &parent, &children, &count) && children)
            XFree(children);
        return parent;
    }
    // The tray icon of `pid`: a window of that process that sits inside another one.
    Window embeddedIconOf(qint64 pid) const {
        const Window root = DefaultRootWindow(m_display);
        for (Window w : subtree(root))
            if (pidOf(w) == pid && parentOf(w) != root && isViewable(w)) return w;
        return None;
    }
    // The shown top-level window of `pid` titled `title`.
    Window windowOf(qint64 pid, const QString& title) const {
        for (Window w : subtree(DefaultRootWindow(m_display)))
            if (pidOf(w) == pid && nameOf(w) == title && isViewable(w)) return w;
        return None;
    }
    void click(const QPoint& at) {
        XTestFakeMotionEvent(m_display, -1, at.x(), at.y(), CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XFlush(m_display);
    }

private:
    Display* m_display;
};

} // namespace nolvea::test
