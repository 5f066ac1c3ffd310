#include "platform/linux/X11ScreenGrabber.h"

#include "platform/DesktopError.h"
#include "platform/linux/X11Display.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qcoro/qcorotimer.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace nolvea {

namespace {

// The pointer's picture and where its hot spot is, in screen pixels; null without XFixes.
struct Pointer {
    QImage image;
    QPoint topLeft;
};

Pointer pointerImage() {
    auto opened = X11Display::open();
    if (std::holds_alternative<DesktopError>(opened)) return {};
    Display* dpy = std::get<std::unique_ptr<X11Display>>(opened)->get();
    int event = 0, error = 0;
    if (!XFixesQueryExtension(dpy, &event, &error)) return {};
    XFixesCursorImage* cursor = XFixesGetCursorImage(dpy);
    if (!cursor) return {};
    QImage image(cursor->width, cursor->height, QImage::Format_ARGB32_Premultiplied);
    // XFixes hands out 32-bit pixels in longs.
    for (int y = 0; y < cursor->height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < cursor->width; ++x)
            line[x] = quint32(cursor->pixels[y * cursor->width + x]);
    }
    Pointer pointer{image, QPoint(cursor->x - cursor->xhot, cursor->y - cursor->yhot)};
    XFree(cursor);
    return pointer;
}

// Our visible top-level windows, hidden until the value is dropped.
class HiddenWindows {
public:
    HiddenWindows() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible()) continue;
            m_widgets.append(widget);
            widget->hide();
        }
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (!window->isVisible()) continue;
            m_windows.append(window);
            window->hide();
        }
    }
    ~HiddenWindows() {
        for (const QPointer<QWidget>& widget : m_widgets) {
            if (!widget) continue;
            const bool quiet = widget->testAttribute(Qt::WA_ShowWithoutActivating);
            widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
            widget->show();
            widget->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
        }
        for (const QPointer<QWindow>& window : m_windows)
            if (window) window->showNormal();
    }
    bool isEmpty() const { return m_widgets.isEmpty() && m_windows.isEmpty(); }

private:
    QList<QPointer<QWidget>> m_widgets;
    QList<QPointer<QWindow>> m_windows;
};

} // namespace

QCoro::Task<QByteArray> X11ScreenGrabber::pngUnderPointer(double maxDimension) {
    if (!X11Display::sessionHasX11() || QGuiApplication::platformName() != QLatin1String("xcb")) {
        X11Display::open(); // says, once, that X11 is needed
        throw DesktopError(DesktopError::Kind::noX11);
    }
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) throw DesktopError(DesktopError::Kind::noScreen);
    QPointer<QScreen> target(screen);

    QPixmap shot;
    Pointer pointer;
    {
        HiddenWindows hidden;
        if (!hidden.isEmpty()) {
            // The windows under ours repaint once they are uncovered.
            QTimer timer;
            timer.setSingleShot(true);
            timer.start(m_settle);
            co_await timer;
        }
        if (!target) throw DesktopError(DesktopError::Kind::noScreen);
        shot = target->grabWindow(0);
        pointer = pointerImage();
    }
    if (shot.isNull()) throw DesktopError(DesktopError::Kind::imageFailed);

    QImage image = shot.toImage().convertToFormat(QImage::Format_RGB32);
    if (!pointer.image.isNull()) {
        const qreal ratio = shot.devicePixelRatio();
        QPainter painter(&image);
        const QPoint origin = target->geometry().topLeft() * ratio;
        painter.drawImage(pointer.topLeft - origin, pointer.image);
    }
    const QSize size = ScreenGrabber::scaledSize(target->size(), maxDimension);
    if (size.isEmpty()) throw DesktopError(DesktopError::Kind::imageFailed);
    if (size != image.size())
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") || png.isEmpty())
        throw DesktopError(DesktopError::Kind::imageFailed);
    co_return png;
}

} // namespace nolvea
