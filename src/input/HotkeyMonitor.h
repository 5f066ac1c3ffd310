#pragma once

#include "core/HotkeyChoice.h"
#include "platform/KeyEvent.h"
#include "support/Clock.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace nolvea {

class DesktopError;
class KeyEventSource;

// The desktop-wide listener for the push-to-talk key. Keys are heard on a thread of the key
// source and judged here, on the main thread, where the five callbacks run. Each reports an
// edge only: a repeated state is never reported twice.
//
// The trigger (`HotkeyChoice`) maps to one key: fn to Menu, rightOption to Alt_R or AltGr,
// rightCommand to Super_R. It goes down with its key's press and up with that key's release,
// whatever other keys are held. While the monitor runs, the key source keeps the trigger's key
// from the applications, so the one in front never acts on it.
class HotkeyMonitor : public QObject {
    Q_OBJECT

public:
    // Listens through the installed key source when `source` is null.
    explicit HotkeyMonitor(std::shared_ptr<KeyEventSource> source = nullptr,
                           QObject* parent = nullptr);
    ~HotkeyMonitor() override;

    std::function<void()> onTriggerDown = [] {};
    std::function<void()> onTriggerUp = [] {};
    std::function<void(bool down)> onControlChange = [](bool) {};
    std::function<void()> onEscape = [] {};
    // A key that is not a modifier went down while the trigger is held.
    std::function<void()> onOtherKey = [] {};
    // Every key the listener hears, before it is judged (the onboarding's live key test).
    std::function<void(const KeyEvent&)> onKey;

    HotkeyChoice trigger() const { return m_trigger; }
    // Takes effect with the next key event. A held trigger of the old choice is let go.
    void setTrigger(HotkeyChoice trigger);

    bool isRunning() const { return m_running; }
    // Starts listening. While the key listener cannot start, retries every 2 s (so a display
    // that comes up later is heard without a restart); in a session without X11 it gives up
    // at once. Does nothing while running.
    void start();
    // Why the last attempt to start failed; nothing while running or before the first start.
    std::optional<DesktopError> lastError() const;

private:
    bool tryStart();
    void handle(const KeyEvent& event);
    void setTriggerDown(bool down);

    std::shared_ptr<KeyEventSource> m_source;
    HotkeyChoice m_trigger = HotkeyChoice::fn;
    bool m_running = false;
    std::unique_ptr<ClockTimer> m_retryTimer;
    std::unique_ptr<DesktopError> m_lastError;
    bool m_triggerDown = false;
    bool m_leftControlDown = false;
    bool m_rightControlDown = false;
};

} // namespace nolvea
