#pragma once

#include "platform/KeyEventSource.h"

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QThread;

namespace nolvea {

class X11Display;

// Raw key events of XInput 2 on the root window, read on the thread "Nolvea.teclado". Raw
// events reach us whichever window has the focus and whatever grabs are active, our own
// excepted: the trigger key is kept from the applications by a passive grab on the root window,
// made on a second connection, so that the keys pressed while it is held are still heard.
class XInputKeySource final : public KeyEventSource {
public:
    // `displayName`: the X11 display to listen on; the session's when empty.
    explicit XInputKeySource(QByteArray displayName = {});
    ~XInputKeySource() override;

    std::optional<DesktopError> start(Sink sink) override;
    void setTriggerKey(std::optional<KeyEvent::Key> key) override;

private:
    void run();
    void deliver(const KeyEvent& event);
    // On the connection's thread: replaces the grabs by those of the wanted key.
    void applyGrab();
    void wake();

    QByteArray m_displayName;
    std::unique_ptr<X11Display> m_display;
    std::unique_ptr<X11Display> m_grabDisplay;
    std::unique_ptr<QThread> m_thread;
    std::mutex m_sinkMutex;
    Sink m_sink;
    int m_wake[2] = {-1, -1};
    std::atomic_bool m_stopping{false};
    int m_xiOpcode = 0;
    int m_xkbEventBase = -1;

    std::mutex m_grabMutex;
    std::condition_variable m_grabApplied;
    std::optional<KeyEvent::Key> m_grabKey;
    quint64 m_grabWanted = 0; // generations: asked for, and put in place by the thread
    quint64 m_grabDone = 0;
    bool m_ended = false;
    // The thread's alone.
    std::vector<unsigned char> m_grabbedCodes;
    bool m_layoutChanged = false;
};

} // namespace nolvea
