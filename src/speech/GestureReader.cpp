#include "speech/GestureReader.h"

namespace nolvea {

using Stage = AppState::Stage;

GestureReader::GestureReader(Clock& clock)
    : m_clock(clock) {}

GestureReader::~GestureReader() {
    *m_alive = false;
}

GestureReader::Action GestureReader::down(const Situation& now) {
    if (m_pendingTap) {
        // The second press of a double tap: listening goes on without the key held.
        m_pendingTap.reset();
        m_ignoreNextUp = true;
        return Action::goHandsFree;
    }
    switch (now.stage) {
    case Stage::listening:
        if (!now.handsFree) return Action::none;
        m_ignoreNextUp = true;
        return Action::stopAndProcess;
    case Stage::processing:
    case Stage::confirming:
        return Action::none;
    case Stage::answer:
        if (now.agentEnabled) return Action::listenForAgent;
        break;
    case Stage::idle:
    case Stage::success:
    case Stage::error:
        break;
    }
    if (!m_controlDown && !now.awaitingReply) return Action::listenForDictation;
    return now.agentEnabled ? Action::listenForAgent : Action::listenForDictation;
}

GestureReader::Action GestureReader::up(const Situation& now) {
    if (m_ignoreNextUp) {
        m_ignoreNextUp = false;
        return Action::none;
    }
    if (now.stage != Stage::listening || now.handsFree || !m_pressStart) return Action::none;
    if (m_clock.uptime() - *m_pressStart >= tapThreshold) return Action::stopAndProcess;
    // A tap: it ends silently unless a second press comes soon.
    m_pendingTap = m_clock.schedule(doubleTapWindow, false, [this, alive = m_alive] {
        if (!*alive) return;
        m_pendingTap.reset();
        if (onTapExpired) onTapExpired();
    });
    return Action::none;
}

GestureReader::Action GestureReader::escape(const Situation& now) const {
    if (now.speaking) return Action::stopSpeech;
    switch (now.stage) {
    case Stage::listening:
        return Action::cancelWithFeedback;
    case Stage::processing:
        return Action::cancelProcessing;
    case Stage::confirming:
        if (now.cardShownAt && m_clock.uptime() - *now.cardShownAt < cardKeyGuard)
            return Action::none;
        return Action::declineConfirmation;
    case Stage::answer:
        return Action::dismissAnswer;
    case Stage::idle:
    case Stage::success:
    case Stage::error:
        break;
    }
    return Action::none;
}

GestureReader::Action GestureReader::otherKey(const Situation& now) const {
    // A key pressed soon after the hotkey: the hotkey was part of a keyboard shortcut.
    if (now.stage == Stage::listening && !now.handsFree && m_pressStart &&
        m_clock.uptime() - *m_pressStart < otherKeyWindow)
        return Action::cancelSilently;
    return Action::none;
}

GestureReader::Action GestureReader::control(bool down, const Situation& now) {
    m_controlDown = down;
    if (down && now.stage == Stage::listening && now.agentEnabled && now.mode != VoiceMode::agent)
        return Action::switchToAgent;
    return Action::none;
}

void GestureReader::listeningBegan(bool followUp) {
    m_pressStart = m_clock.uptime();
    if (followUp) m_ignoreNextUp = false;
}

} // namespace nolvea
