#include "ui/notch/NotchHover.h"

namespace nolvea {

NotchHover::NotchHover(Hooks hooks)
    : m_hooks(std::move(hooks)) {}

NotchHover::~NotchHover() = default;

void NotchHover::step(bool inside) {
    if (m_suppressed) {
        if (!inside) m_suppressed = false;
        return;
    }
    const bool target = inside || m_hooks.editing();
    if (target == m_hovering) {
        cancelPending();
        return;
    }
    if (m_pending == target) return;
    cancelPending();
    m_pending = target;
    m_pendingTimer = Clock::shared().schedule(target ? kOpenDelay : kCloseDelay, false,
                                              [this, target] { apply(target); });
}

void NotchHover::apply(bool target) {
    m_pending.reset();
    m_pendingTimer.reset(); // dropped after this call returns: Clock timers allow it
    // The pointer may have come back, or text may have been typed, since the close was asked.
    if (!target && (m_hooks.pointerInside() || m_hooks.editing())) return;
    m_hovering = target;
    track(target);
    m_hooks.changed(target);
}

void NotchHover::close(bool pointerInside) {
    cancelPending();
    m_hovering = false;
    track(false);
    m_suppressed = pointerInside;
}

void NotchHover::collapse() {
    cancelPending();
    m_hovering = false;
    track(false);
}

void NotchHover::reset() {
    collapse();
    m_suppressed = false;
}

void NotchHover::cancelPending() {
    m_pendingTimer.reset();
    m_pending.reset();
}

void NotchHover::track(bool on) {
    if (!on) {
        m_tracking.reset();
        return;
    }
    m_tracking = Clock::shared().schedule(kTrackEvery, true, [this] {
        if (m_hovering) m_hooks.track();
    });
}

} // namespace nolvea
