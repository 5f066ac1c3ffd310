#pragma once

#include "agent/AgentTool.h"
#include "agent/AgentUI.h"
#include "agent/Confirmation.h"
#include "agent/Conversation.h"
#include "ai/LLMClient.h"
#include "audio/Sounds.h"
#include "core/ActionPreview.h"
#include "core/EmailRecipient.h"
#include "core/EmailSummary.h"
#include "core/HistoryEntry.h"
#include "core/VoiceMode.h"
#include "speech/GestureReader.h"
#include "speech/TypedRequestError.h"
#include "speech/VoiceOutcome.h"
#include "support/CancelToken.h"
#include "support/Clock.h"
#include "system/ScreenContext.h"

#include <QObject>
#include <QVariant>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <optional>

namespace nolvea {

class AgentTurn;
class AnswerPresenter;
class AppSettings;
class AppState;
class AudioRecorder;
class ConfirmationDesk;
class Dictation;
class HotkeyMonitor;
class KeyEventSource;
class ListeningSession;
class LiveTranscriber;
class Speaker;

// Turns hotkey gestures into one voice interaction at a time and drives `AppState` through
// its stages: listening, transcription, then a dictation pasted into the front application
// or an agent turn answered on screen and aloud. The only writer of the interaction stages;
// each job is done by a helper of its own (gestures, listening, dictation, the agent turn,
// the answer, the confirmation cards). Main thread.
class VoiceController : public QObject, public AgentUI {
    Q_OBJECT

public:
    // How an interaction ended.
    using Outcome = VoiceOutcome;

    // What the controller reaches outside itself. `installed()` fills every one from the
    // desktop and the shared stores; one left empty does nothing (or grants, or answers
    // nothing).
    struct Services {
        // The front application, its selection and the text before the caret.
        std::function<ScreenContext()> captureContext;
        // The icon of the application with that process id, or nothing.
        std::function<QVariant(qint32 pid)> appIcon;
        // Pastes text into the front application.
        std::function<QCoro::Task<>(QString)> insertText;
        // The desktop key listener the hotkey monitor hears; the installed one when null.
        std::shared_ptr<KeyEventSource> keys;

        // Time and timers; the system clock when null.
        Clock* clock = nullptr;
        // Whether the microphone may be used; asks the person (or opens the settings).
        std::function<bool()> microphoneGranted;
        std::function<void()> askForMicrophone;
        std::function<void(Sounds::Cue)> playCue;
        // Wake the model for a clean-up or an agent turn.
        std::function<void()> warmCleanup;
        std::function<void()> warmAgent;
        // The dictation's clean-up by the model; throws when it could not be done.
        std::function<QCoro::Task<QString>(QString text, ScreenContext context,
                                           QStringList vocabulary)>
            cleanUp;
        // The agent's model and tools.
        std::function<LLMClient()> agentClient;
        std::function<std::vector<AgentTool>(const ScreenContext&)> agentTools;
        // The agent log and the history.
        std::function<void(const QString& line)> log;
        std::function<void(const HistoryEntry&)> record;
        // What an e-mail card looks up.
        std::function<QCoro::Task<std::vector<EmailRecipient>>(std::vector<EmailRecipient>)>
            resolveRecipients;
        std::function<QCoro::Task<QStringList>()> mailAccounts;
        std::function<QCoro::Task<std::optional<EmailSummary>>(QString id)> mailMessage;

        // Every service over the installed desktop and the shared stores.
        static Services installed();
    };

    static constexpr Clock::Duration tapThreshold{300};
    static constexpr Clock::Duration doubleTapWindow{350};
    static constexpr Clock::Duration otherKeyWindow{1000};
    static constexpr Clock::Duration awaitingReplyWindow{90'000};

    // Over the desktop: the installed services, the shared settings and speaker.
    explicit VoiceController(AppState& state, QObject* parent = nullptr);
    VoiceController(AppState& state, AppSettings& settings, std::unique_ptr<AudioRecorder> recorder,
                    std::unique_ptr<LiveTranscriber> transcriber, Speaker& speaker,
                    Services services, QObject* parent = nullptr);
    ~VoiceController() override;

    AppSettings& settings() const { return m_settings; }
    AppState& state() const { return m_state; }
    // The push-to-talk key's listener; its callbacks are the gestures below.
    HotkeyMonitor& hotkeys() const { return *m_hotkeys; }

    // While set, every trigger-down is ignored (the onboarding's hotkey test).
    bool isSuspended() const { return m_isSuspended; }
    void setSuspended(bool suspended) { m_isSuspended = suspended; }

    // Something else that plays on the live state while no interaction runs (the demo).
    // While it plays the keys read the state as at rest, and an interaction stops it before
    // its first write.
    struct Guest {
        std::function<bool()> isPlaying;
        std::function<void()> stop;
    };
    void setGuest(Guest guest) { m_guest = std::move(guest); }

    // The hotkey gestures.
    void triggerDown();
    void triggerUp();
    void escapePressed();
    void otherKeyPressed();
    void controlChanged(bool down);

    void beginListening(VoiceMode mode, bool autoStop);
    void stopAndProcess();
    void cancelListening(bool feedback);
    void finish(const Outcome& outcome);

    // Answers and follow-up.
    void showAnswer(const QString& text);
    void scheduleAnswerDismiss(const QString& text, bool afterSpeech);
    bool shouldListenForFollowUp(const QString& text) const;
    void dismissAnswer();
    void newConversation();
    // Runs a typed request as a spoken agent request, when nothing else is under way.
    // Nothing when it was taken; else why not (the caller keeps the text).
    std::optional<TypedRequestError> submitTyped(const QString& text);
    // While listening for a follow-up that has not been spoken yet: back to the answer.
    void returnToAnswerFromFollowUp();
    // Stops the answer's speech (it then leaves after its delay; nothing is listened for),
    // or speaks the shown answer again.
    void toggleSpeech();
    void setAwaitingReply(bool on);
    void startAutoStop();
    const Conversation& conversation() const;

    // Whether the person points at or types in the notch: an answer's dismissal and a
    // follow-up listening wait while it holds. None: never engaged.
    void setNotchEngaged(std::function<bool()> engaged);
    // Resumes once the notch is not engaged; throws `Cancelled` once `cancel` fired.
    QCoro::Task<> waitWhileNotchEngaged(CancelToken cancel = {});

    // The agent's host.
    void agentProgress(const QString& text) override;
    void agentTool(const QString& symbol) override;
    QCoro::Task<Confirmation> agentConfirm(ActionPreview preview) override;
    void resolveConfirmation(bool approved);
    void resolveAlternate();
    bool hasPendingConfirmation() const;

    const ScreenContext& context() const { return m_context; }
    bool isFollowUpListening() const { return m_isFollowUpListening; }

    // The number of words of a text split at blanks.
    static int wordCount(const QString& text);
    // The result line of a dictation: "12 palavras", "1 palavra", "12 palavras · sem IA".
    static QString dictationStatus(int words, bool cleanupFailed);
    // How long an answer stays on screen.
    static Clock::Duration answerDelay(const QString& text, bool afterSpeech);
    // The result line of a finished agent action: the summary, cut to 46 characters and "…"
    // from 49 on.
    static QString agentStatus(const QString& summary);

Q_SIGNALS:
    // A spoken or typed request's processing ended, a cancelled one too, after it wrote what
    // it had: nothing of it arrives later.
    void turnSettled();
    // The look-ups of an e-mail card ended, or were dropped with their card.
    void cardLookUpsSettled();

private:
    void wireCallbacks();
    void cancelProcessing();
    // Stops the microphone and drops the transcription; the stage is the caller's.
    void abandonListening();
    void act(GestureReader::Action action);
    GestureReader::Situation situation() const;
    bool guestPlays() const { return m_guest.isPlaying && m_guest.isPlaying(); }
    // Stops the guest before the controller writes the live state.
    void sendGuestAway();
    void captureFront();
    void startProcessing(std::function<QCoro::Task<>(CancelToken)> work);
    // Awaits `work`, then tells that the turn settled.
    QCoro::Task<> settle(QCoro::Task<> work);
    QCoro::Task<> process(VoiceMode mode, CancelToken token);
    QCoro::Task<> processTyped(QString text, CancelToken token);
    QCoro::Task<> runAgent(QString request, CancelToken token);

    AppState& m_state;
    AppSettings& m_settings;
    Speaker& m_speaker;
    Services m_services;
    std::unique_ptr<Clock> m_systemClock; // when none was given
    Clock& m_clock;
    std::optional<Clock::Duration> m_cardShownAt; // when the last confirmation card went up
    std::unique_ptr<HotkeyMonitor> m_hotkeys;
    std::unique_ptr<ListeningSession> m_listening;
    std::unique_ptr<GestureReader> m_gestures;
    std::unique_ptr<Dictation> m_dictation;
    std::unique_ptr<AgentTurn> m_turn;
    std::unique_ptr<AnswerPresenter> m_answers;
    std::unique_ptr<ConfirmationDesk> m_desk;

    std::optional<CancelToken> m_processingTask;
    std::unique_ptr<ClockTimer> m_resetTask;
    ScreenContext m_context;
    std::unique_ptr<ClockTimer> m_autoStopTask;
    bool m_isFollowUpListening = false;
    bool m_isSuspended = false;
    Guest m_guest;
};

} // namespace nolvea
