#include "platform/linux/X11PointerSource.h"

#include "platform/linux/X11Display.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace nolvea {

X11PointerSource::X11PointerSource(QByteArray displayName)
    : m_displayName(std::move(displayName))
    , m_context(std::make_unique<QObject>()) {}

X11PointerSource::~X11PointerSource() {
    stopWatching();
}

QPoint X11PointerSource::position() const {
    return QCursor::pos();
}

bool X11PointerSource::isButtonHeld() const {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* dpy = x11 ? x11->display() : nullptr;
    if (!dpy) return false;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rootX, &rootY, &x, &y, &mask))
        return false;
    // The wheel's buttons are never held.
    return mask & (Button1Mask | Button2Mask | Button3Mask);
}

QList<QRect> X11PointerSource::screens() const {
    QList<QRect> out;
    for (const QScreen* screen : QGuiApplication::screens())
        out << screen->geometry();
    return out;
}

void X11PointerSource::startWatching() {
    m_last = QCursor::pos();
    auto opened = X11Display::open(m_displayName);
    if (auto* display = std::get_if<std::unique_ptr<X11Display>>(&opened)) {
        Display* dpy = (*display)->get();
        int opcode = 0, event = 0, error = 0;
        int major = 2, minor = 1; // raw events reach every client from 2.1 on
        if (XQueryExtension(dpy, "XInputExtension", &opcode, &event, &error) &&
            XIQueryVersion(dpy, &major, &minor) == Success &&
            (major > 2 || (major == 2 && minor >= 1)) &&
            ::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) == 0) {
            unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
            XISetMask(bits, XI_RawMotion);
            XISetMask(bits, XI_RawButtonPress);
            XIEventMask mask{XIAllMasterDevices, int(sizeof(bits)), bits};
            XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
            XSync(dpy, False);
            m_display = std::move(*display);
            m_xiOpcode = opcode;
            m_stopping = false;
            m_thread.reset(QThread::create([this] { run(); }));
            m_thread->setObjectName(QStringLiteral("Nolvea.ponteiro"));
            m_thread->start();
            return;
        }
    }
    m_poll = new QTimer(m_context.get());
    m_poll->setInterval(100);
    QObject::connect(m_poll, &QTimer::timeout, m_context.get(), [this] {
        if (m_poll) reportMotion();
    });
    m_poll->start();
}

void X11PointerSource::stopWatching() {
    if (m_thread) {
        m_stopping = true;
        wake();
        m_thread->wait();
        m_thread.reset();
    }
    m_display.reset();
    for (int& fd : m_wake)
        if (fd >= 0) ::close(std::exchange(fd, -1));
    // A listener may drop its watch from within the timer's own call.
    if (QTimer* poll = std::exchange(m_poll, nullptr)) {
        poll->stop();
        poll->deleteLater();
    }
    // Calls the ended thread queued must not report to a later watch.
    ++m_generation;
    m_motionQueued = false;
}

void X11PointerSource::wake() {
    const char byte = 1;
    [[maybe_unused]] auto n = ::write(m_wake[1], &byte, 1);
}

void X11PointerSource::reportMotion() {
    const QPoint at = QCursor::pos();
    if (at == m_last) return;
    m_last = at;
    publish({Event::Kind::moved, at});
}

void X11PointerSource::run() {
    Display* dpy = m_display->get();
    QObject* context = m_context.get();
    const quint64 generation = m_generation;
    pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    while (!m_stopping && !m_display->isBroken()) {
        while (!m_display->isBroken() && XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            XGenericEventCookie* cookie = &ev.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode) continue;
            // A burst of moves asks for the position once.
            if (cookie->evtype == XI_RawMotion) {
                if (!m_motionQueued.exchange(true))
                    QMetaObject::invokeMethod(
                        context,
                        [this, generation] {
                            if (generation != m_generation) return;
                            m_motionQueued = false;
                            reportMotion();
                        },
                        Qt::QueuedConnection);
            } else if (cookie->evtype == XI_RawButtonPress) {
                // Only the left and right buttons press: not the wheel's steps, nor the middle.
                if (!XGetEventData(dpy, cookie)) continue;
                const int button = static_cast<const XIRawEvent*>(cookie->data)->detail;
                XFreeEventData(dpy, cookie);
                if (button != Button1 && button != Button3) continue;
                QMetaObject::invokeMethod(
                    context,
                    [this, generation] {
                        if (generation != m_generation) return;
                        reportMotion();
                        if (generation == m_generation)
                            publish({Event::Kind::pressed, QCursor::pos()});
                    },
                    Qt::QueuedConnection);
            }
        }
        if (m_display->isBroken()) break;
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) break;
        if (fds[1].revents & POLLIN) {
            char bytes[64];
            while (::read(m_wake[0], bytes, sizeof bytes) > 0) {
            }
        }
    }
}

} // namespace nolvea
