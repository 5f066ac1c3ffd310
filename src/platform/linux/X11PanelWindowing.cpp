#include "platform/linux/X11PanelWindowing.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <vector>

namespace nolvea {

namespace {

std::vector<XRectangle> toX(const QList<QRect>& rects) {
    std::vector<XRectangle> out;
    out.reserve(rects.size());
    for (const QRect& r : rects)
        if (!r.isEmpty())
            out.push_back({short(r.x()), short(r.y()), (unsigned short)(r.width()),
                           (unsigned short)(r.height())});
    return out;
}

} // namespace

X11PanelWindowing::X11PanelWindowing() {
    if (auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        m_display = x11->display();
}

void X11PanelWindowing::prepareFloatingPanel(WindowId window) {
    if (!m_display || !window) return;
    const Window w = Window(window);
    auto atom = [&](const char* name) { return XInternAtom(m_display, name, False); };
    // On every desktop.
    const unsigned long all = 0xFFFFFFFFul;
    XChangeProperty(m_display, w, atom("_NET_WM_DESKTOP"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&all), 1);
    // Above the others, sticky, out of task bars and pagers; read by the window manager when
    // the window is mapped.
    const Atom states[] = {atom("_NET_WM_STATE_ABOVE"), atom("_NET_WM_STATE_STICKY"),
                           atom("_NET_WM_STATE_SKIP_TASKBAR"), atom("_NET_WM_STATE_SKIP_PAGER")};
    XChangeProperty(m_display, w, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states), 4);
    // Never given the keyboard by the window manager: we take it ourselves when allowed.
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = False;
    XSetWMHints(m_display, w, &hints);
    XFlush(m_display);
}

void X11PanelWindowing::setInputRegion(WindowId window, const QList<QRect>& rects) {
    if (!m_display || !window) return;
    auto xr = toX(rects);
    XShapeCombineRectangles(m_display, Window(window), ShapeInput, 0, 0, xr.data(), int(xr.size()),
                            ShapeSet, Unsorted);
    XFlush(m_display);
}

void X11PanelWindowing::setShape(WindowId window, const std::optional<QList<QRect>>& rects) {
    if (!m_display || !window) return;
    if (!rects) {
        XShapeCombineMask(m_display, Window(window), ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        auto xr = toX(*rects);
        XShapeCombineRectangles(m_display, Window(window), ShapeBounding, 0, 0, xr.data(),
                                int(xr.size()), ShapeSet, Unsorted);
    }
    XFlush(m_display);
}

bool X11PanelWindowing::compositorRunning() {
    if (!m_display) return false;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(m_display));
    return XGetSelectionOwner(m_display, XInternAtom(m_display, name.constData(), False)) != None;
}

PanelWindowing::WindowId X11PanelWindowing::focusedWindow() {
    if (!m_display) return 0;
    Window focus = None;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    if (focus == PointerRoot) return 0;
    return WindowId(focus);
}

bool X11PanelWindowing::focusWindow(WindowId window) {
    if (!m_display || !window) return false;
    XWindowAttributes attrs{};
    // Only a window that still exists and is viewable can take the keyboard.
    auto old = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const bool ok =
        XGetWindowAttributes(m_display, Window(window), &attrs) && attrs.map_state == IsViewable;
    if (ok) XSetInputFocus(m_display, Window(window), RevertToParent, CurrentTime);
    XSync(m_display, False);
    XSetErrorHandler(old);
    return ok;
}

bool X11PanelWindowing::hasFocusWithin(WindowId window) {
    if (!m_display || !window) return false;
    Window w = Window(focusedWindow());
    while (w && w != None) {
        if (w == Window(window)) return true;
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, w, &root, &parent, &children, &count)) return false;
        if (children) XFree(children);
        if (parent == root) return false;
        w = parent;
    }
    return false;
}

} // namespace nolvea
