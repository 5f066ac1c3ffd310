#pragma once

#include "support/Clock.h"

#include <functional>
#include <memory>
#include <optional>

namespace nolvea {

// When the hover panel opens and closes: the pointer must rest 0.12 s on the island to open
// it and stay away 0.45 s to close it, an opposite step meanwhile withdraws the change, and
// while open the pointer is looked at again every 0.2 s even if it does not move. After an
// explicit close it stays shut until the pointer has left the island once.
class NotchHover {
public:
    static constexpr Clock::Duration kOpenDelay{120};
    static constexpr Clock::Duration kCloseDelay{450};
    static constexpr Clock::Duration kTrackEvery{200};

    struct Hooks {
        std::function<bool()> editing;       // the island's field holds text and the keyboard
        std::function<bool()> pointerInside; // asked again when a close falls due
        std::function<void(bool)> changed;   // the panel opened (true) or closed by leaving
        std::function<void()> track;         // a tracking tick
    };

    explicit NotchHover(Hooks hooks);
    ~NotchHover();

    bool isHovering() const { return m_hovering; }
    bool isSuppressed() const { return m_suppressed; }
    std::optional<bool> pending() const { return m_pending; }
    bool isTracking() const { return m_tracking != nullptr; }

    // One pointer step: whether the pointer is in the hover zone.
    void step(bool inside);
    // Closes at once; the panel does not reopen before the pointer left, when it is inside.
    void close(bool pointerInside);
    // Closes at once without holding the panel shut (a request was sent from it).
    void collapse();
    // Forgets everything: nothing pending, nothing tracked (the island was switched off).
    void reset();

private:
    void cancelPending();
    void apply(bool target);
    void track(bool on);

    Hooks m_hooks;
    bool m_hovering = false;
    bool m_suppressed = false;
    std::optional<bool> m_pending;
    std::unique_ptr<ClockTimer> m_pendingTimer;
    std::unique_ptr<ClockTimer> m_tracking;
};

} // namespace nolvea
