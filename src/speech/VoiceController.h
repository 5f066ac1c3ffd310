#pragma once

#include "agent/ActionPreview.h"
#include "agent/AgentUI.h"
#include "agent/Confirmation.h"
#include "agent/Conversation.h"
#include "core/VoiceMode.h"
#include "support/CancelToken.h"
#include "support/Clock.h"
#include "system/ScreenContext.h"

#include <QObject>
#include <QVariant>
#include <qcoro/qcorotask.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace nolvea {

class AppSettings;
class AppState;
class AudioRecorder;
class HotkeyMonitor;
class KeyEventSource;
class LiveTranscriber;
class Speaker;
template <typename T> class Promise;

// Turns hotkey gestures into one voice interaction at a time and drives `AppState` through
// its stages: listening, transcription, then a dictation pasted into the front application
// or an agent turn answered on screen and aloud. The only writer of the interaction stages.
// Main thread.
class VoiceController : public QObject, public AgentUI {
    Q_OBJECT

public:
    // How an interaction ended.
    struct Outcome {
        enum class Kind { success, error, cancelled };
        Kind kind;
        QString text;
        static Outcome success(QString text) { return {Kind::success, std::move(text)}; }
        static Outcome error(QString text) { return {Kind::error, std::move(text)}; }
        static Outcome cancelled() { return {Kind::cancelled, {}}; }
    };

    // What the controller reaches outside itself; each has a working default.
    struct Services {
        // The front application, its selection and the text before the caret.
        std::function<ScreenContext()> captureContext;
        // The icon of the application with that process id, or nothing.
        std::function<QVariant(qint32 pid)> appIcon;
        // Pastes text into the front application.
        std::function<QCoro::Task<>(QString)> insertText;
        // The desktop key listener the hotkey monitor hears; the installed one when null.
        std::shared_ptr<KeyEventSource> keys;
    };

    static constexpr Clock::Duration tapThreshold{300};
    static constexpr Clock::Duration doubleTapWindow{350};
    static constexpr Clock::Duration otherKeyWindow{1000};
    static constexpr Clock::Duration awaitingReplyWindow{90'000};

    // Over the desktop: the screen context reader, the text inserter and the installed layers.
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
    void submitTyped(const QString& text);
    void returnToAnswerFromFollowUp();
    void toggleSpeech();
    void setAwaitingReply(bool on);
    void startAutoStop();
    const Conversation& conversation() const { return m_conversation; }

    // The agent's host.
    void agentProgress(const QString& text) override;
    void agentTool(const QString& symbol) override;
    QCoro::Task<Confirmation> agentConfirm(ActionPreview preview) override;
    void resolveConfirmation(bool approved);
    void resolveAlternate();
    bool hasPendingConfirmation() const { return bool(m_confirmation); }

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

private:
    void wireCallbacks();
    void stopSpeech();
    void cancelProcessing();
    void stopRecorder();
    void resolve(Confirmation::Choice choice);
    void declinePendingConfirmation();
    void answerSpoken(quint64 answerRun, const QString& text);
    void prepareEmail(const EmailDraft& draft);
    QCoro::Task<> resolveRecipients(EmailDraft draft, quint64 confirmationRun);
    QCoro::Task<> readMailAccounts(quint64 confirmationRun);
    QCoro::Task<> loadOriginal(QString id, quint64 confirmationRun);
    void startProcessing(std::function<QCoro::Task<>(CancelToken)> work);

    QCoro::Task<> process(VoiceMode mode, CancelToken token);
    QCoro::Task<> processTyped(QString text, CancelToken token);
    QCoro::Task<> dictate(QString text, CancelToken token);
    QCoro::Task<> runAgent(QString request, CancelToken token);

    AppState& m_state;
    AppSettings& m_settings;
    std::unique_ptr<HotkeyMonitor> m_hotkeys;
    std::unique_ptr<AudioRecorder> m_recorder;
    std::shared_ptr<LiveTranscriber> m_transcriber; // the audio thread holds it too
    Speaker& m_speaker;
    Services m_services;

    std::optional<Clock::Duration> m_pressStart; // on the monotonic clock
    std::unique_ptr<ClockTimer> m_pendingTapCancel;
    bool m_ignoreNextTriggerUp = false;
    std::optional<CancelToken> m_processingTask;
    std::unique_ptr<ClockTimer> m_resetTask;
    ScreenContext m_context;
    Conversation m_conversation;
    std::unique_ptr<ClockTimer> m_autoStopTask;
    bool m_isFollowUpListening = false;
    std::unique_ptr<ClockTimer> m_awaitingReplyTask;
    bool m_isSuspended = false;
    std::unique_ptr<Promise<Confirmation>> m_confirmation;
    quint64 m_confirmationRun = 0; // look-ups for an older card write nothing

    bool m_controlDown = false;
    quint64 m_answerRun = 0; // a speech completion of an older answer changes nothing
    std::shared_ptr<std::atomic<float>> m_lastLevel = std::make_shared<std::atomic<float>>(0);
};

} // namespace nolvea
