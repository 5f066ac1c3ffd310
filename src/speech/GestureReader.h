#pragma once

#include "core/AppState.h"
#include "support/Clock.h"

#include <functional>
#include <memory>
#include <optional>

namespace nolvea {

// Reads the push-to-talk key's edges, Escape, Control and other keys as what the person
// means, given where the interaction stands. Keeps the press time, the pending lone-tap
// cancellation and the release to swallow; acting on a decision is the caller's job.
class GestureReader {
public:
    static constexpr Clock::Duration tapThreshold{300};
    static constexpr Clock::Duration doubleTapWindow{350};
    static constexpr Clock::Duration otherKeyWindow{1000};
    // A confirmation card ignores Escape this long after it went up, so a key typed into
    // another window cannot cancel the action it has not been shown yet.
    static constexpr Clock::Duration cardKeyGuard{400};

    // Where the interaction stands when a key arrives.
    struct Situation {
        AppState::Stage stage = AppState::Stage::idle;
        VoiceMode mode = VoiceMode::dictation;
        bool handsFree = false;
        bool speaking = false;
        bool agentEnabled = false;
        bool awaitingReply = false;
        // When the waiting confirmation card went up, on the monotonic clock.
        std::optional<Clock::Duration> cardShownAt;
    };

    enum class Action {
        none,
        listenForDictation,
        listenForAgent,
        goHandsFree,        // the second press of a double tap
        stopAndProcess,     // release after a hold, or a press that ends hands-free listening
        cancelSilently,     // a key of a shortcut, or a lone tap run out
        cancelWithFeedback, // Escape while listening
        cancelProcessing,
        stopSpeech,
        declineConfirmation,
        dismissAnswer,
        switchToAgent,
    };

    explicit GestureReader(Clock& clock);
    ~GestureReader();

    // A lone tap ran out without a second press: listening ends silently.
    std::function<void()> onTapExpired;

    Action down(const Situation& now);
    Action up(const Situation& now);
    Action escape(const Situation& now) const;
    Action otherKey(const Situation& now) const;
    Action control(bool down, const Situation& now);

    // Listening began: the press time counts from now; a follow-up has no release to swallow.
    void listeningBegan(bool followUp);
    // Listening ended: a pending lone-tap cancellation has nothing left to cancel.
    void listeningEnded() { m_pendingTap.reset(); }
    bool isControlDown() const { return m_controlDown; }
    bool isTapPending() const { return bool(m_pendingTap); }

private:
    Clock& m_clock;
    std::optional<Clock::Duration> m_pressStart; // on the monotonic clock
    std::unique_ptr<ClockTimer> m_pendingTap;
    bool m_ignoreNextUp = false;
    bool m_controlDown = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace nolvea
