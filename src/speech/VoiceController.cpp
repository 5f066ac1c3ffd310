#include "speech/VoiceController.h"

#include "agent/Agent.h"
#include "agent/AnswerSanitizer.h"
#include "agent/ContactsLookup.h"
#include "agent/MailBackend.h"
#include "ai/TextCleaner.h"
#include "ai/TextJoiner.h"
#include "ai/Warmup.h"
#include "audio/AudioRecorder.h"
#include "audio/Sounds.h"
#include "core/AgentLog.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "core/Permissions.h"
#include "input/HotkeyMonitor.h"
#include "platform/PermissionProbe.h"
#include "platform/Platform.h"
#include "speech/LiveTranscriber.h"
#include "speech/Speaker.h"
#include "support/Error.h"
#include "support/Graphemes.h"
#include "support/Promise.h"
#include "system/ScreenContextReader.h"
#include "system/TextInserter.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace nolvea {

namespace {

const QString kAllowMicrophone = QStringLiteral("Permita o acesso ao microfone");

// The follow-up silence watcher: how often it looks, how long it measures the quiet floor,
// how long a pause ends the reply, how long it waits for a first word, and its cap.
constexpr Clock::Duration tick{100}, calibration{400}, silence{1600}, noSpeech{8000}, cap{60'000};
// How far above the floor a level counts as speech.
constexpr float margin = 0.15f;

bool hasLetterOrNumber(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

bool endsWithQuestion(const QString& text) {
    return text.trimmed().endsWith(QLatin1Char('?'));
}

VoiceController::Services desktopServices() {
    VoiceController::Services services;
    services.captureContext = ScreenContextReader::capture;
    services.insertText = TextInserter::insert;
    return services;
}

std::vector<QUuid> ids(const std::vector<EmailRecipient>& recipients) {
    std::vector<QUuid> out;
    for (const EmailRecipient& r : recipients)
        out.push_back(r.id);
    return out;
}

} // namespace

VoiceController::VoiceController(AppState& state, QObject* parent)
    : VoiceController(state, AppSettings::shared(), std::make_unique<AudioRecorder>(),
                      std::make_unique<LiveTranscriber>(), Speaker::shared(), desktopServices(),
                      parent) {}

VoiceController::VoiceController(AppState& state, AppSettings& settings,
                                 std::unique_ptr<AudioRecorder> recorder,
                                 std::unique_ptr<LiveTranscriber> transcriber, Speaker& speaker,
                                 Services services, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_settings(settings)
    , m_hotkeys(std::make_unique<HotkeyMonitor>(services.keys))
    , m_recorder(std::move(recorder))
    , m_transcriber(std::move(transcriber))
    , m_speaker(speaker)
    , m_services(std::move(services)) {
    if (!m_services.captureContext)
        m_services.captureContext = [] { return ScreenContext::empty(); };
    if (!m_services.appIcon) m_services.appIcon = [](qint32) { return QVariant(); };
    if (!m_services.insertText) m_services.insertText = [](QString) -> QCoro::Task<> { co_return; };
    wireCallbacks();
}

VoiceController::~VoiceController() {
    // The audio thread must be done with us before anything goes.
    m_recorder->stop();
    m_recorder->onBuffer = nullptr;
    m_recorder->onLevel = nullptr;
    m_transcriber->cancel();
    if (m_processingTask) m_processingTask->cancel();
    declinePendingConfirmation();
}

void VoiceController::wireCallbacks() {
    QPointer<VoiceController> self(this);
    m_hotkeys->onTriggerDown = [self] {
        if (self) self->triggerDown();
    };
    m_hotkeys->onTriggerUp = [self] {
        if (self) self->triggerUp();
    };
    m_hotkeys->onControlChange = [self](bool down) {
        if (self) self->controlChanged(down);
    };
    m_hotkeys->onEscape = [self] {
        if (self) self->escapePressed();
    };
    m_hotkeys->onOtherKey = [self] {
        if (self) self->otherKeyPressed();
    };
    // Runs on the audio thread: only a copy of the buffer goes into the open transcription,
    // and the transcriber drops it when none is open.
    m_recorder->onBuffer = [transcriber = m_transcriber](const AudioBuffer& buffer) {
        transcriber->feed(buffer);
    };
    m_recorder->onLevel = [this, last = m_lastLevel](float level) {
        last->store(level);
        QMetaObject::invokeMethod(
            this, [this, level] { m_state.pushLevel(level); }, Qt::QueuedConnection);
    };
    m_transcriber->onPartial = [self](const QString& text) {
        if (self && self->m_state.stage() == AppState::Stage::listening)
            self->m_state.setLiveText(text);
    };
    m_transcriber->onStatus = [self](const QString& text) {
        if (self) self->m_state.setStatusText(text);
    };
}

// ---------------------------------------------------------------------------------------------
// Gestures

void VoiceController::triggerDown() {
    if (m_isSuspended) return;
    stopSpeech();
    if (m_pendingTapCancel) {
        // The second press of a double tap: listening goes on without the key held.
        m_pendingTapCancel.reset();
        m_state.setHandsFree(true);
        m_ignoreNextTriggerUp = true;
        return;
    }
    switch (m_state.stage()) {
    case AppState::Stage::listening:
        if (m_state.handsFree()) {
            m_ignoreNextTriggerUp = true;
            stopAndProcess();
        }
        return;
    case AppState::Stage::processing:
    case AppState::Stage::confirming:
        return;
    case AppState::Stage::answer:
        if (m_settings.agentEnabled()) {
            beginListening(VoiceMode::agent, false);
            return;
        }
        break;
    case AppState::Stage::idle:
    case AppState::Stage::success:
    case AppState::Stage::error:
        break;
    }
    if (!m_controlDown && !m_state.awaitingReply())
        beginListening(VoiceMode::dictation, false);
    else
        beginListening(m_settings.agentEnabled() ? VoiceMode::agent : VoiceMode::dictation, false);
}

void VoiceController::triggerUp() {
    if (m_ignoreNextTriggerUp) {
        m_ignoreNextTriggerUp = false;
        return;
    }
    if (m_state.stage() != AppState::Stage::listening || m_state.handsFree() || !m_pressStart)
        return;
    const auto elapsed = Clock::shared().uptime() - *m_pressStart;
    if (elapsed < tapThreshold) {
        // A tap: it ends silently unless a second press comes soon.
        QPointer<VoiceController> self(this);
        m_pendingTapCancel = Clock::shared().schedule(doubleTapWindow, false, [self] {
            if (!self) return;
            self->m_pendingTapCancel.reset();
            self->cancelListening(false);
        });
        return;
    }
    stopAndProcess();
}

void VoiceController::escapePressed() {
    if (m_speaker.isSpeaking()) {
        stopSpeech();
        return;
    }
    switch (m_state.stage()) {
    case AppState::Stage::listening:
        cancelListening(true);
        break;
    case AppState::Stage::processing:
        cancelProcessing();
        finish(Outcome::cancelled());
        break;
    case AppState::Stage::confirming:
        resolveConfirmation(false);
        break;
    case AppState::Stage::answer:
        dismissAnswer();
        break;
    default:
        break;
    }
}

void VoiceController::otherKeyPressed() {
    // A key pressed soon after the hotkey: the hotkey was part of a keyboard shortcut.
    if (m_state.stage() == AppState::Stage::listening && !m_state.handsFree() && m_pressStart &&
        Clock::shared().uptime() - *m_pressStart < otherKeyWindow)
        cancelListening(false);
}

void VoiceController::controlChanged(bool down) {
    m_controlDown = down;
    if (down && m_state.stage() == AppState::Stage::listening && m_settings.agentEnabled() &&
        m_state.mode() != VoiceMode::agent) {
        m_state.setMode(VoiceMode::agent);
        Warmup::shared().agent();
    }
}

// ---------------------------------------------------------------------------------------------
// Listening

void VoiceController::beginListening(VoiceMode mode, bool autoStop) {
    if (auto probe = Platform::find<PermissionProbe>();
        probe && !probe->isGranted(PermissionKind::microphone)) {
        // Asks when never asked, else opens the desktop's microphone settings.
        Permissions::shared().request(PermissionKind::microphone);
        Permissions::shared().refresh();
        finish(Outcome::error(kAllowMicrophone));
        return;
    }
    m_resetTask.reset();
    cancelProcessing();
    ++m_answerRun;

    m_state.setMode(mode);
    m_state.setHandsFree(false);
    m_state.setLiveText({});
    m_state.setStatusText({});
    m_state.setLevels(QList<float>(AppState::kLevelCount, 0.0f));

    m_context = m_services.captureContext();
    m_state.setTargetAppIcon(m_context.processID != 0 ? m_services.appIcon(m_context.processID)
                                                      : QVariant());
    m_state.setTargetAppName(m_context.appName);

    m_transcriber->begin(m_settings.localeID(), m_settings.vocabulary());
    try {
        m_recorder->start();
    } catch (const std::exception& e) {
        m_transcriber->cancel();
        finish(Outcome::error(describe(e)));
        return;
    }
    m_lastLevel->store(0);
    m_pressStart = Clock::shared().uptime();
    m_state.setListeningSince(Clock::shared().now());
    m_state.setStage(AppState::Stage::listening);
    m_isFollowUpListening = autoStop;
    if (autoStop) {
        m_state.setHandsFree(true);
        m_ignoreNextTriggerUp = false;
        startAutoStop();
    }
    if (mode == VoiceMode::agent)
        Warmup::shared().agent();
    else
        Warmup::shared().cleanup();
    Sounds::play(Sounds::Cue::start);
}

void VoiceController::stopRecorder() {
    if (m_recorder->isRecording()) m_recorder->stop();
}

void VoiceController::stopAndProcess() {
    m_autoStopTask.reset();
    stopRecorder();
    m_state.setHandsFree(false);
    m_state.setStage(AppState::Stage::processing);
    m_state.setStatusText(QStringLiteral("Transcrevendo…"));
    Sounds::play(Sounds::Cue::stop);
    const VoiceMode mode = m_state.mode();
    startProcessing([this, mode](CancelToken token) { return process(mode, token); });
}

void VoiceController::startProcessing(std::function<QCoro::Task<>(CancelToken)> work) {
    cancelProcessing();
    CancelToken token;
    m_processingTask = token;
    work(token); // runs on by itself; it checks the token after every wait
}

void VoiceController::cancelProcessing() {
    if (!m_processingTask) return;
    m_processingTask->cancel();
    m_processingTask.reset();
    // An agent waiting on a card goes on with a decline (its result is then dropped).
    declinePendingConfirmation();
}

QCoro::Task<> VoiceController::process(VoiceMode mode, CancelToken token) {
    QPointer<VoiceController> self(this);
    try {
        const QString text = co_await m_transcriber->finish();
        if (!self) co_return;
        token.check();
        if (!hasLetterOrNumber(text)) {
            finish(Outcome::error(QStringLiteral("Não ouvi nada")));
            co_return;
        }
        m_state.setLiveText(text);
        if (mode == VoiceMode::agent)
            co_await runAgent(text, token);
        else
            co_await dictate(text, token);
    } catch (const std::exception& e) {
        // A cancelled run ends without a word: whoever cancelled it has said so.
        if (self && !token.isCancelled() && !dynamic_cast<const Cancelled*>(&e))
            finish(Outcome::error(describe(e)));
    }
}

void VoiceController::cancelListening(bool feedback) {
    m_autoStopTask.reset();
    m_pendingTapCancel.reset();
    stopRecorder();
    m_transcriber->cancel();
    m_state.setHandsFree(false);
    if (feedback)
        finish(Outcome::cancelled());
    else
        m_state.setStage(AppState::Stage::idle);
}

void VoiceController::finish(const Outcome& outcome) {
    m_resetTask.reset();
    Clock::Duration delay{0};
    switch (outcome.kind) {
    case Outcome::Kind::success:
        m_state.setStatusText(outcome.text);
        m_state.setStage(AppState::Stage::success);
        Sounds::play(Sounds::Cue::success);
        delay = Clock::Duration(m_state.mode() == VoiceMode::agent ? 2200 : 900);
        break;
    case Outcome::Kind::error:
        m_state.setStatusText(outcome.text);
        m_state.setErrorCount(m_state.errorCount() + 1);
        m_state.setStage(AppState::Stage::error);
        Sounds::play(Sounds::Cue::failure);
        delay = Clock::Duration(2600);
        break;
    case Outcome::Kind::cancelled:
        m_state.setStatusText(QStringLiteral("Cancelado"));
        m_state.setStage(AppState::Stage::error);
        Sounds::play(Sounds::Cue::cancel);
        delay = Clock::Duration(700);
        break;
    }
    QPointer<VoiceController> self(this);
    m_resetTask = Clock::shared().schedule(delay, false, [self] {
        if (self) self->m_state.setStage(AppState::Stage::idle);
    });
}

// ---------------------------------------------------------------------------------------------
// Dictation

int VoiceController::wordCount(const QString& text) {
    return int(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

QString VoiceController::dictationStatus(int words, bool cleanupFailed) {
    QString status = QString::number(words) + QStringLiteral(" palavra");
    if (words != 1) status += QLatin1Char('s');
    if (cleanupFailed) status += QStringLiteral(" · sem IA");
    return status;
}

QCoro::Task<> VoiceController::dictate(QString text, CancelToken token) {
    QPointer<VoiceController> self(this);
    const ScreenContext context = m_context;
    QString final = text;
    bool cleaned = false;
    const bool cleanupDue = m_settings.aiCleanupEnabled() && wordCount(text) >= 3;
    if (cleanupDue) {
        m_state.setStatusText(QStringLiteral("Refinando…"));
        try {
            const TextCleaner cleaner(LLMClient::fromSettings());
            QString result = co_await cleaner.clean(text, context, m_settings.vocabulary());
            final = std::move(result);
            cleaned = true;
        } catch (const Cancelled&) {
            throw;
        } catch (...) {
            // The transcript goes in as heard; the result line says so.
        }
        if (!self) co_return;
    }
    token.check();

    const QString joined = TextJoiner::prepare(final, context.textBeforeCursor);
    try {
        co_await m_services.insertText(joined);
    } catch (const Cancelled&) {
        throw;
    } catch (...) {
        // A paste that did not go in is not reported; the dictation still counts.
    }
    if (!self) co_return;
    token.check();
    HistoryStore::shared().add(
        HistoryEntry::make(HistoryEntry::Kind::dictation, context.appName, text, final));
    const int n = wordCount(final);
    finish(Outcome::success(dictationStatus(n, !cleaned && cleanupDue)));
}

// ---------------------------------------------------------------------------------------------
// Answers and follow-up

QCoro::Task<> VoiceController::runAgent(QString request, CancelToken token) {
    QPointer<VoiceController> self(this);
    const ScreenContext context = m_context;
    const bool hasSelection = !context.selectedText.trimmed().isEmpty();
    m_state.setStatusText(hasSelection ? QStringLiteral("Lendo a seleção…")
                                       : QStringLiteral("Pensando…"));
    m_state.setLastRequest(request);
    m_state.setToolSymbol(std::nullopt);

    Agent agent;
    agent.client = LLMClient::fromSettings();
    agent.context = context;
    agent.tools = Agent::availableTools(context);
    agent.confirmActions = m_settings.confirmActions();
    agent.dryRun = false;
    agent.log = [](const QString& line) { AgentLog::write(line); };
    agent.cancel = token;

    const bool continuing = !m_conversation.turns.empty() && m_conversation.isFresh();
    const bool isReply = m_state.awaitingReply() && continuing;
    setAwaitingReply(false);
    QString line = QStringLiteral("▶ [") + context.appName + QStringLiteral("] ") + request;
    if (continuing)
        line += QStringLiteral(" (continuação, %1 turnos)").arg(m_conversation.turns.size());
    AgentLog::write(line);

    const AgentOutcome outcome =
        co_await agent.run(request, m_conversation.history(), isReply, *this);
    if (!self) co_return;
    token.check(); // Escape ended the run: it said "Cancelado" already

    AgentLog::write(QStringLiteral("■ ") + outcome.printed());
    m_conversation.append(agent.turnMessages);
    m_state.setConversationTurns(m_conversation.isFresh() ? int(m_conversation.turns.size()) : 0);

    switch (outcome.kind) {
    case AgentOutcome::Kind::cancelled:
        finish(Outcome::cancelled());
        break;
    case AgentOutcome::Kind::answer: {
        const QString text = AnswerSanitizer::clean(outcome.text);
        HistoryStore::shared().add(
            HistoryEntry::make(HistoryEntry::Kind::agent, context.appName, request, text));
        m_state.setHasUnseenResult(true);
        showAnswer(text);
        break;
    }
    case AgentOutcome::Kind::done: {
        const bool edit = hasSelection && outcome.text.contains(QStringLiteral("Seleção"));
        HistoryStore::shared().add(
            HistoryEntry::make(edit ? HistoryEntry::Kind::edit : HistoryEntry::Kind::agent,
                               context.appName, request, outcome.text));
        m_state.setHasUnseenResult(true);
        finish(Outcome::success(agentStatus(outcome.text)));
        break;
    }
    }
}

QString VoiceController::agentStatus(const QString& summary) {
    if (Graphemes::count(summary) < 49) return summary;
    return Graphemes::first(summary, 46) + QStringLiteral("…");
}

void VoiceController::showAnswer(const QString& text) {
    m_resetTask.reset();
    setAwaitingReply(endsWithQuestion(text));
    m_state.setAnswerText(text);
    m_state.setStage(AppState::Stage::answer);
    const quint64 run = ++m_answerRun;
    if (!m_settings.speakAnswers()) {
        Sounds::play(Sounds::Cue::success);
        scheduleAnswerDismiss(text, false);
        return;
    }
    m_state.setIsSpeaking(true);
    QPointer<VoiceController> self(this);
    m_speaker.speak(text, [self, run, text] {
        if (self) self->answerSpoken(run, text);
    });
}

void VoiceController::answerSpoken(quint64 run, const QString& text) {
    // Speech of an answer that is no longer shown (dismissed, or a new listening began).
    if (run != m_answerRun || m_state.stage() != AppState::Stage::answer) return;
    m_state.setIsSpeaking(false);
    if (shouldListenForFollowUp(text))
        beginListening(VoiceMode::agent, true);
    else
        scheduleAnswerDismiss(text, true);
}

Clock::Duration VoiceController::answerDelay(const QString& text, bool afterSpeech) {
    if (afterSpeech) return Clock::Duration(6000);
    const int words = int(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
    const double seconds = std::clamp(double(words) / 3.0 + 2.0, 5.0, 25.0);
    return Clock::Duration(qint64(seconds * 1000.0));
}

void VoiceController::scheduleAnswerDismiss(const QString& text, bool afterSpeech) {
    m_resetTask.reset();
    QPointer<VoiceController> self(this);
    m_resetTask = Clock::shared().schedule(answerDelay(text, afterSpeech), false, [self] {
        if (self) self->dismissAnswer();
    });
}

bool VoiceController::shouldListenForFollowUp(const QString& text) const {
    if (!m_settings.agentEnabled()) return false;
    switch (m_settings.followUpMode()) {
    case FollowUpMode::never:
        return false;
    case FollowUpMode::always:
        return true;
    case FollowUpMode::whenAsked:
        return endsWithQuestion(text);
    }
    return false;
}

void VoiceController::dismissAnswer() {
    if (m_state.stage() != AppState::Stage::answer) return;
    m_resetTask.reset();
    ++m_answerRun;
    stopSpeech();
    m_state.setStage(AppState::Stage::idle);
}

void VoiceController::newConversation() {
    m_conversation.turns.clear();
    m_conversation.lastActivity = Conversation::distantPast();
    setAwaitingReply(false);
    m_state.setConversationTurns(0);
    AgentLog::write(QStringLiteral("○ nova conversa"));
}

void VoiceController::submitTyped(const QString& text) {
    if (text.trimmed().isEmpty()) return;
    if (m_state.stage() == AppState::Stage::listening) cancelListening(false);
    m_resetTask.reset();
    ++m_answerRun;
    stopSpeech();
    m_state.setMode(VoiceMode::agent);
    m_state.setStage(AppState::Stage::processing);
    startProcessing([this, text](CancelToken token) { return processTyped(text, token); });
}

QCoro::Task<> VoiceController::processTyped(QString text, CancelToken token) {
    QPointer<VoiceController> self(this);
    try {
        co_await runAgent(text, token);
    } catch (const std::exception& e) {
        if (self && !token.isCancelled() && !dynamic_cast<const Cancelled*>(&e))
            finish(Outcome::error(describe(e)));
    }
}

void VoiceController::returnToAnswerFromFollowUp() {
    if (!m_isFollowUpListening || m_state.stage() != AppState::Stage::listening) return;
    cancelListening(false);
    m_isFollowUpListening = false;
    const QString answer = m_state.answerText();
    if (answer.isEmpty()) return;
    ++m_answerRun;
    m_state.setStage(AppState::Stage::answer);
    scheduleAnswerDismiss(answer, false);
}

void VoiceController::toggleSpeech() {
    if (m_speaker.isSpeaking()) {
        stopSpeech();
        return;
    }
    if (m_state.stage() != AppState::Stage::answer || m_state.answerText().isEmpty()) return;
    m_resetTask.reset();
    const quint64 run = ++m_answerRun;
    const QString text = m_state.answerText();
    m_state.setIsSpeaking(true);
    QPointer<VoiceController> self(this);
    m_speaker.speak(text, [self, run, text] {
        if (!self || run != self->m_answerRun) return;
        self->m_state.setIsSpeaking(false);
        if (self->m_state.stage() == AppState::Stage::answer)
            self->scheduleAnswerDismiss(text, true);
    });
}

void VoiceController::stopSpeech() {
    m_speaker.stop();
    m_state.setIsSpeaking(false);
}

void VoiceController::setAwaitingReply(bool on) {
    m_awaitingReplyTask.reset();
    m_state.setAwaitingReply(on);
    if (!on) return;
    QPointer<VoiceController> self(this);
    m_awaitingReplyTask = Clock::shared().schedule(awaitingReplyWindow, false, [self] {
        if (self) self->m_state.setAwaitingReply(false);
    });
}

void VoiceController::startAutoStop() {
    // Ends follow-up listening once the person spoke and then fell silent; cancels it when
    // nothing was said. Loudness is judged against the quietest level of the first moments.
    struct Watch {
        Clock::Duration started;
        float floor = 1.0f;
        bool heard = false;
        Clock::Duration lastLoud{0};
    };
    auto watch = std::make_shared<Watch>(Watch{Clock::shared().uptime()});
    QPointer<VoiceController> self(this);
    m_autoStopTask = Clock::shared().schedule(tick, true, [self, watch] {
        if (!self || self->m_state.stage() != AppState::Stage::listening) return;
        const auto now = Clock::shared().uptime();
        const auto elapsed = now - watch->started;
        const float level = self->m_lastLevel->load();
        if (elapsed <= calibration) {
            watch->floor = std::min(watch->floor, level);
            return;
        }
        if (level > std::min(watch->floor + margin, 0.95f)) {
            watch->heard = true;
            watch->lastLoud = now;
        }
        if ((watch->heard && now - watch->lastLoud >= silence) || (watch->heard && elapsed >= cap))
            self->stopAndProcess();
        else if (!watch->heard && (elapsed >= noSpeech || elapsed >= cap))
            self->cancelListening(false);
    });
}

// ---------------------------------------------------------------------------------------------
// The agent's host

void VoiceController::agentProgress(const QString& text) {
    m_state.setStatusText(text);
}

void VoiceController::agentTool(const QString& symbol) {
    m_state.setToolSymbol(symbol);
}

QCoro::Task<Confirmation> VoiceController::agentConfirm(ActionPreview preview) {
    // One card at a time: an agent still waiting on an older one goes on with a decline.
    declinePendingConfirmation();
    Promise<Confirmation> answer;
    m_confirmation = std::make_unique<Promise<Confirmation>>(answer);
    m_state.setDraftText(preview.editableValue);
    if (preview.email) prepareEmail(*preview.email);
    m_state.setPendingAction(preview);
    if (m_state.stage() != AppState::Stage::confirming)
        m_state.setStage(AppState::Stage::confirming);
    Sounds::play(Sounds::Cue::start);
    co_return co_await answer;
}

void VoiceController::prepareEmail(const EmailDraft& draft) {
    // The card shows the draft at once; addresses, sending accounts and the message answered
    // arrive as they are read, and only while this card is still up.
    const quint64 run = ++m_confirmationRun;
    m_state.setEmailDraft(draft);
    m_state.setMailAccounts({});
    // Started from the event loop, so that even a look-up that has its answer at hand writes
    // it after the card is up.
    QTimer::singleShot(0, this, [this, draft, run] {
        resolveRecipients(draft, run);
        readMailAccounts(run);
        if (draft.replyToID) loadOriginal(*draft.replyToID, run);
    });
}

QCoro::Task<> VoiceController::resolveRecipients(EmailDraft draft, quint64 run) {
    QPointer<VoiceController> self(this);
    std::vector<EmailRecipient> to = co_await ContactsLookup::resolve(draft.to);
    std::vector<EmailRecipient> cc = co_await ContactsLookup::resolve(draft.cc);
    if (!self || run != m_confirmationRun) co_return; // that card is gone
    // The person may have added or removed recipients meanwhile: then theirs stand.
    EmailDraft current = m_state.emailDraft();
    if (ids(current.to) != ids(draft.to) || ids(current.cc) != ids(draft.cc)) co_return;
    current.to = std::move(to);
    current.cc = std::move(cc);
    m_state.setEmailDraft(current);
}

QCoro::Task<> VoiceController::readMailAccounts(quint64 run) {
    QPointer<VoiceController> self(this);
    QStringList accounts;
    try {
        accounts = co_await MailBackend::accounts();
    } catch (...) {
        // No accounts to offer: the card names the default account.
    }
    if (self && run == m_confirmationRun) m_state.setMailAccounts(accounts);
}

QCoro::Task<> VoiceController::loadOriginal(QString id, quint64 run) {
    QPointer<VoiceController> self(this);
    const std::optional<EmailSummary> original = co_await MailBackend::message(id);
    if (!self || run != m_confirmationRun || !original) co_return;
    EmailDraft current = m_state.emailDraft();
    if (current.replyToID != id) co_return;
    current.original = *original;
    m_state.setEmailDraft(current);
}

void VoiceController::resolve(Confirmation::Choice choice) {
    if (!m_confirmation) return;
    Promise<Confirmation> answer = std::move(*m_confirmation);
    m_confirmation.reset();
    ++m_confirmationRun;
    Confirmation c;
    c.choice = choice;
    const auto& pending = m_state.pendingAction();
    if (pending && pending->editableKey) c.editedValue = m_state.draftText();
    if (pending && pending->email) c.edits = m_state.emailDraft().arguments();
    m_state.setPendingAction(std::nullopt);
    if (m_state.stage() != AppState::Stage::processing)
        m_state.setStage(AppState::Stage::processing);
    answer.resolve(std::move(c));
}

void VoiceController::resolveConfirmation(bool approved) {
    resolve(approved ? Confirmation::Choice::approve : Confirmation::Choice::decline);
}

void VoiceController::resolveAlternate() {
    resolve(Confirmation::Choice::alternate);
}

void VoiceController::declinePendingConfirmation() {
    if (!m_confirmation) return;
    Promise<Confirmation> answer = std::move(*m_confirmation);
    m_confirmation.reset();
    ++m_confirmationRun;
    m_state.setPendingAction(std::nullopt);
    answer.resolve(Confirmation{});
}

} // namespace nolvea
