#pragma once

#include "platform/KeyEventSource.h"

#include <QByteArray>

#include <atomic>
#include <memory>
#include <mutex>

class QThread;

namespace nolvea {

class X11Display;

// Raw key events of XInput 2 on the root window, read on the thread "Nolvea.teclado". Raw
// events reach us whichever window has the focus and whatever grabs are active; they cannot be
// held back from their applications.
class XInputKeySource final : public KeyEventSource {
public:
    // `displayName`: the X11 display to listen on; the session's when empty.
    explicit XInputKeySource(QByteArray displayName = {});
    ~XInputKeySource() override;

    std::optional<DesktopError> start(Sink sink) override;

private:
    void run();
    void deliver(const KeyEvent& event);

    QByteArray m_displayName;
    std::unique_ptr<X11Display> m_display;
    std::unique_ptr<QThread> m_thread;
    std::mutex m_sinkMutex;
    Sink m_sink;
    int m_wake[2] = {-1, -1};
    std::atomic_bool m_stopping{false};
    int m_xiOpcode = 0;
};

} // namespace nolvea
