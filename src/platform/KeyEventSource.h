#pragma once

#include "platform/DesktopError.h"
#include "platform/KeyEvent.h"

#include <functional>
#include <optional>

namespace nolvea {

// The desktop-wide key listener. It only listens: events reach their applications unchanged,
// but for the trigger key it is asked to keep.
class KeyEventSource {
public:
    using Sink = std::function<void(const KeyEvent&)>;

    virtual ~KeyEventSource() = default;

    // Begins listening on a thread of its own; `sink` then runs on that thread for every key
    // press and release. Nothing when listening began, else why it could not. Once started,
    // a later call only replaces the sink.
    virtual std::optional<DesktopError> start(Sink sink) = 0;

    // Keeps `key` from the applications, whatever other keys are held: its presses reach this
    // listener alone, so the application in front never acts on them (a context menu, a
    // launcher, a focused menu bar). A key that types characters through others (AltGr as the
    // layout's level-3 shift) is left to the applications. `std::nullopt` lets every key
    // through again. In effect once this returns, also when called before `start`.
    virtual void setTriggerKey(std::optional<KeyEvent::Key> key) = 0;
};

} // namespace nolvea
