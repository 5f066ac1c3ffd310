#pragma once

#include "platform/DesktopError.h"
#include "platform/KeyEvent.h"

#include <functional>
#include <optional>

namespace nolvea {

// The desktop-wide key listener. Listen-only: events reach their applications unchanged.
class KeyEventSource {
public:
    using Sink = std::function<void(const KeyEvent&)>;

    virtual ~KeyEventSource() = default;

    // Begins listening on a thread of its own; `sink` then runs on that thread for every key
    // press and release. Nothing when listening began, else why it could not. Once started,
    // a later call only replaces the sink.
    virtual std::optional<DesktopError> start(Sink sink) = 0;
};

} // namespace nolvea
