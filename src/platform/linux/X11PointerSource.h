#pragma once

#include "platform/PointerSource.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <memory>

class QThread;
class QTimer;

namespace nolvea {

class X11Display;

// Raw motion and button events of XInput 2 on the root window wake a thread of its own
// ("Nolvea.ponteiro"), which hands them, coalesced, to the main thread; the position itself is
// Qt's, so it matches the windows' coordinates. Without XInput 2 it polls the pointer ten times
// a second instead. The thread runs only while watched.
class X11PointerSource final : public PointerSource {
public:
    explicit X11PointerSource(QByteArray displayName = {});
    ~X11PointerSource() override;

    QPoint position() const override;
    QList<QRect> screens() const override;
    bool isButtonHeld() const override;

    // Whether events come from XInput 2 (false while unwatched or polling).
    bool listensToRawEvents() const { return m_thread != nullptr; }

protected:
    void startWatching() override;
    void stopWatching() override;

private:
    void run();
    void wake();
    void reportMotion();

    QByteArray m_displayName;
    // Lives on the main thread: queued calls from the reader land here, and die with it.
    std::unique_ptr<QObject> m_context;
    std::unique_ptr<X11Display> m_display;
    std::unique_ptr<QThread> m_thread;
    QTimer* m_poll = nullptr;
    int m_wake[2] = {-1, -1};
    int m_xiOpcode = 0;
    std::atomic_bool m_stopping{false};
    std::atomic_bool m_motionQueued{false};
    quint64 m_generation = 0; // main thread's alone; bumped by each stop
    QPoint m_last;
};

} // namespace nolvea
