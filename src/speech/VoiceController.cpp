#include "speech/VoiceController.h"

#include "audio/AudioRecorder.h"
#include "audio/AudioRecorderError.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "input/HotkeyMonitor.h"
#include "speech/AgentTurn.h"
#include "speech/AnswerPresenter.h"
#include "speech/ConfirmationDesk.h"
#include "speech/Dictation.h"
#include "speech/ListeningSession.h"
#include "speech/LiveTranscriber.h"
#include "speech/SilenceWatcher.h"
#include "speech/Speaker.h"
#include "support/Detached.h"
#include "support/Error.h"

#include <QPointer>

#include <algorithm>

namespace nolvea {

namespace {

using Action = GestureReader::Action;
using Stage = AppState::Stage;

const QString kAllowMicrophone = QStringLiteral("Permita o acesso ao microfone");

bool hasLetterOrNumber(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// An empty service does nothing, grants, or answers nothing.
VoiceController::Services completed(VoiceController::Services s) {
    if (!s.captureContext) s.captureContext = [] { return ScreenContext::empty(); };
    if (!s.appIcon) s.appIcon = [](qint32) { return QVariant(); };
    if (!s.insertText) s.insertText = [](QString) -> QCoro::Task<> { co_return; };
    if (!s.microphoneGranted) s.microphoneGranted = [] { return true; };
    if (!s.askForMicrophone) s.askForMicrophone = [] {};
    if (!s.playCue) s.playCue = [](Sounds::Cue) {};
    if (!s.warmCleanup) s.warmCleanup = [] {};
    if (!s.warmAgent) s.warmAgent = [] {};
    if (!s.cleanUp)
        s.cleanUp = [](QString text, ScreenContext, QStringList) -> QCoro::Task<QString> {
            co_return text;
        };
    if (!s.agentClient) s.agentClient = [] { return LLMClient(); };
    if (!s.agentTools) s.agentTools = [](const ScreenContext&) { return std::vector<AgentTool>(); };
    if (!s.log) s.log = [](const QString&) {};
    if (!s.record) s.record = [](const HistoryEntry&) {};
    if (!s.resolveRecipients)
        s.resolveRecipients =
            [](std::vector<EmailRecipient> r) -> QCoro::Task<std::vector<EmailRecipient>> {
            co_return r;
        };
    if (!s.mailAccounts) s.mailAccounts = []() -> QCoro::Task<QStringList> { co_return {}; };
    if (!s.mailMessage)
        s.mailMessage = [](QString) -> QCoro::Task<std::optional<EmailSummary>> {
            co_return std::nullopt;
        };
    return s;
}

} // namespace

VoiceController::VoiceController(AppState& state, QObject* parent)
    : VoiceController(state, AppSettings::shared(), std::make_unique<AudioRecorder>(),
                      std::make_unique<LiveTranscriber>(), Speaker::shared(), Services::installed(),
                      parent) {}

VoiceController::VoiceController(AppState& state, AppSettings& settings,
                                 std::unique_ptr<AudioRecorder> recorder,
                                 std::unique_ptr<LiveTranscriber> transcriber, Speaker& speaker,
                                 Services services, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_settings(settings)
    , m_speaker(speaker)
    , m_services(completed(std::move(services)))
    , m_systemClock(m_services.clock ? nullptr : std::make_unique<Clock>())
    , m_clock(m_services.clock ? *m_services.clock : *m_systemClock)
    , m_hotkeys(std::make_unique<HotkeyMonitor>(m_services.keys))
    , m_listening(std::make_unique<ListeningSession>(std::move(recorder), std::move(transcriber)))
    , m_gestures(std::make_unique<GestureReader>(m_clock)) {
    m_dictation = std::make_unique<Dictation>(
        Dictation::Services{m_services.cleanUp, m_services.insertText, m_services.record,
                            [s = QPointer<AppState>(&m_state)] {
                                if (s) s->setStatusText(QStringLiteral("Refinando…"));
                            }});
    m_turn = std::make_unique<AgentTurn>(m_state, m_clock,
                                         AgentTurn::Services{m_services.agentClient,
                                                             m_services.agentTools, m_services.log,
                                                             m_services.record});
    m_answers = std::make_unique<AnswerPresenter>(m_state, m_settings, m_speaker, m_clock,
                                                  m_services.playCue);
    m_desk = std::make_unique<ConfirmationDesk>(
        m_state, ConfirmationDesk::Services{m_services.resolveRecipients, m_services.mailAccounts,
                                            m_services.mailMessage, m_services.playCue});
    connect(m_desk.get(), &ConfirmationDesk::lookUpsSettled, this,
            &VoiceController::cardLookUpsSettled);
    wireCallbacks();
}

VoiceController::~VoiceController() {
    m_listening.reset(); // the audio thread is done with us before anything else goes
    if (m_processingTask) m_processingTask->cancel();
    m_desk->declinePending();
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
    m_listening->onLevel = [this](float level) { m_state.pushLevel(level); };
    m_listening->onPartial = [this](const QString& text) {
        if (m_state.stage() == Stage::listening) m_state.setLiveText(text);
    };
    m_listening->onStatus = [this](const QString& text) { m_state.setStatusText(text); };
    m_gestures->onTapExpired = [this] { cancelListening(false); };
    m_answers->onFollowUp = [this] { beginListening(VoiceMode::agent, true); };
}

// ---------------------------------------------------------------------------------------------
// Gestures

GestureReader::Situation VoiceController::situation() const {
    // What a guest shows is no interaction: keys act as they would at rest.
    if (guestPlays())
        return {Stage::idle,
                VoiceMode::dictation,
                false,
                m_speaker.isSpeaking(),
                m_settings.agentEnabled(),
                false,
                m_cardShownAt};
    return {m_state.stage(),
            m_state.mode(),
            m_state.handsFree(),
            m_speaker.isSpeaking(),
            m_settings.agentEnabled(),
            m_state.awaitingReply(),
            m_cardShownAt};
}

void VoiceController::act(Action action) {
    switch (action) {
    case Action::none:
        break;
    case Action::listenForDictation:
        beginListening(VoiceMode::dictation, false);
        break;
    case Action::listenForAgent:
        beginListening(VoiceMode::agent, false);
        break;
    case Action::goHandsFree:
        m_state.setHandsFree(true);
        break;
    case Action::stopAndProcess:
        stopAndProcess();
        break;
    case Action::cancelSilently:
        cancelListening(false);
        break;
    case Action::cancelWithFeedback:
        cancelListening(true);
        break;
    case Action::cancelProcessing:
        cancelProcessing();
        finish(Outcome::cancelled());
        break;
    case Action::stopSpeech:
        // Only the speech: a second Escape dismisses.
        m_answers->stopSpeechByPerson();
        break;
    case Action::declineConfirmation:
        resolveConfirmation(false);
        break;
    case Action::dismissAnswer:
        dismissAnswer();
        break;
    case Action::switchToAgent:
        m_state.setMode(VoiceMode::agent);
        m_services.warmAgent();
        break;
    }
}

void VoiceController::triggerDown() {
    if (m_isSuspended) return;
    m_answers->stopSpeech();
    act(m_gestures->down(situation()));
}

void VoiceController::triggerUp() {
    act(m_gestures->up(situation()));
}

void VoiceController::escapePressed() {
    act(m_gestures->escape(situation()));
}

void VoiceController::otherKeyPressed() {
    act(m_gestures->otherKey(situation()));
}

void VoiceController::controlChanged(bool down) {
    act(m_gestures->control(down, situation()));
}

// ---------------------------------------------------------------------------------------------
// Listening

void VoiceController::captureFront() {
    m_context = m_services.captureContext();
    m_state.setTargetAppIcon(m_context.processID != 0 ? m_services.appIcon(m_context.processID)
                                                      : QVariant());
    m_state.setTargetAppName(m_context.appName);
}

void VoiceController::sendGuestAway() {
    if (guestPlays()) m_guest.stop();
}

void VoiceController::beginListening(VoiceMode mode, bool autoStop) {
    sendGuestAway();
    // No device is not a permission the person could grant.
    if (auto missing = m_listening->missingInput()) {
        finish(Outcome::error(missing->message()));
        return;
    }
    if (!m_services.microphoneGranted()) {
        m_services.askForMicrophone();
        finish(Outcome::error(kAllowMicrophone));
        return;
    }
    m_resetTask.reset();
    cancelProcessing();
    m_answers->leave();

    m_state.setMode(mode);
    m_state.setHandsFree(false);
    m_state.setLiveText({});
    m_state.setStatusText({});
    m_state.setLevels(QList<float>(AppState::kLevelCount, 0.0f));
    captureFront();

    try {
        m_listening->start(m_settings.localeID(), m_settings.vocabulary());
    } catch (const std::exception& e) {
        finish(Outcome::error(describe(e)));
        return;
    }
    m_gestures->listeningBegan(autoStop);
    m_state.setListeningSince(m_clock.now());
    m_state.setStage(Stage::listening);
    m_isFollowUpListening = autoStop;
    if (autoStop) {
        m_state.setHandsFree(true);
        startAutoStop();
    }
    if (mode == VoiceMode::agent)
        m_services.warmAgent();
    else
        m_services.warmCleanup();
    m_services.playCue(Sounds::Cue::start);
}

void VoiceController::stopAndProcess() {
    m_autoStopTask.reset();
    m_listening->stop();
    m_state.setHandsFree(false);
    m_state.setStage(Stage::processing);
    m_state.setStatusText(QStringLiteral("Transcrevendo…"));
    m_services.playCue(Sounds::Cue::stop);
    const VoiceMode mode = m_state.mode();
    startProcessing([this, mode](CancelToken token) { return process(mode, token); });
}

void VoiceController::startProcessing(std::function<QCoro::Task<>(CancelToken)> work) {
    cancelProcessing();
    CancelToken token;
    m_processingTask = token;
    // Runs on by itself; it checks the token after every wait.
    detach(settle(work(token)), QStringLiteral("Processamento da fala"));
}

QCoro::Task<> VoiceController::settle(QCoro::Task<> work) {
    QPointer<VoiceController> self(this);
    try {
        co_await std::move(work);
    } catch (...) {
        if (self) Q_EMIT turnSettled();
        throw;
    }
    if (self) Q_EMIT turnSettled();
}

void VoiceController::cancelProcessing() {
    if (!m_processingTask) return;
    m_processingTask->cancel();
    m_processingTask.reset();
    // An agent waiting on a card goes on with a decline (its result is then dropped).
    m_desk->declinePending();
}

QCoro::Task<> VoiceController::process(VoiceMode mode, CancelToken token) {
    QPointer<VoiceController> self(this);
    try {
        const QString text = co_await m_listening->finish();
        if (!self) co_return;
        token.check();
        if (!hasLetterOrNumber(text)) {
            finish(Outcome::error(QStringLiteral("Não ouvi nada")));
            co_return;
        }
        m_state.setLiveText(text);
        if (mode == VoiceMode::agent) {
            co_await runAgent(text, token);
        } else {
            const VoiceOutcome outcome = co_await m_dictation->run(
                text, m_context, m_settings.aiCleanupEnabled(), m_settings.vocabulary(), token);
            if (!self) co_return;
            token.check();
            finish(outcome);
        }
    } catch (const std::exception& e) {
        // A cancelled run ends without a word: whoever cancelled it has said so.
        if (self && !token.isCancelled() && !dynamic_cast<const Cancelled*>(&e))
            finish(Outcome::error(describe(e)));
    }
}

void VoiceController::abandonListening() {
    m_autoStopTask.reset();
    m_gestures->listeningEnded();
    m_listening->cancel();
    m_state.setHandsFree(false);
}

void VoiceController::cancelListening(bool feedback) {
    abandonListening();
    if (feedback)
        finish(Outcome::cancelled());
    else
        m_state.setStage(Stage::idle);
}

void VoiceController::finish(const Outcome& outcome) {
    m_resetTask.reset();
    m_answers->cancelDismissal();
    Clock::Duration delay{0};
    switch (outcome.kind) {
    case Outcome::Kind::success:
        m_state.setStatusText(outcome.text);
        m_state.setStage(Stage::success);
        m_services.playCue(Sounds::Cue::success);
        delay = Clock::Duration(m_state.mode() == VoiceMode::agent ? 2200 : 900);
        break;
    case Outcome::Kind::error:
        m_state.setStatusText(outcome.text);
        m_state.setErrorCount(m_state.errorCount() + 1);
        m_state.setStage(Stage::error);
        m_services.playCue(Sounds::Cue::failure);
        delay = Clock::Duration(2600);
        break;
    case Outcome::Kind::cancelled:
        m_state.setStatusText(QStringLiteral("Cancelado"));
        m_state.setStage(Stage::error);
        m_services.playCue(Sounds::Cue::cancel);
        delay = Clock::Duration(700);
        break;
    }
    QPointer<VoiceController> self(this);
    m_resetTask = m_clock.schedule(delay, false, [self] {
        if (self) self->m_state.setStage(Stage::idle);
    });
}

void VoiceController::startAutoStop() {
    auto watcher = std::make_shared<SilenceWatcher>();
    const Clock::Duration started = m_clock.uptime();
    QPointer<VoiceController> self(this);
    m_autoStopTask = m_clock.schedule(SilenceWatcher::tick, true, [self, watcher, started] {
        if (!self || self->m_state.stage() != Stage::listening) return;
        switch (watcher->feed(self->m_clock.uptime() - started, self->m_listening->lastLevel())) {
        case SilenceWatcher::Verdict::listen:
            break;
        case SilenceWatcher::Verdict::stop:
            self->stopAndProcess();
            break;
        case SilenceWatcher::Verdict::cancel:
            self->cancelListening(false);
            break;
        }
    });
}

// ---------------------------------------------------------------------------------------------
// Dictation

int VoiceController::wordCount(const QString& text) {
    return Dictation::wordCount(text);
}

QString VoiceController::dictationStatus(int words, bool cleanupFailed) {
    return Dictation::status(words, cleanupFailed);
}

// ---------------------------------------------------------------------------------------------
// Agent turns

QCoro::Task<> VoiceController::runAgent(QString request, CancelToken token) {
    QPointer<VoiceController> self(this);
    const AgentTurn::Result result =
        co_await m_turn->run(request, m_context, m_settings.confirmActions(), *this, token);
    if (!self) co_return;
    token.check();
    switch (result.kind) {
    case AgentTurn::Result::Kind::cancelled:
        finish(Outcome::cancelled());
        break;
    case AgentTurn::Result::Kind::answer:
        showAnswer(result.text);
        break;
    case AgentTurn::Result::Kind::done:
        finish(Outcome::success(agentStatus(result.text)));
        break;
    }
}

QString VoiceController::agentStatus(const QString& summary) {
    return AgentTurn::status(summary);
}

std::optional<TypedRequestError> VoiceController::submitTyped(const QString& text) {
    const QString request = text.trimmed();
    if (request.isEmpty()) return TypedRequestError(TypedRequestError::Kind::blank);
    sendGuestAway();
    switch (m_state.stage()) {
    case Stage::listening:
    case Stage::processing:
    case Stage::confirming:
        return TypedRequestError(TypedRequestError::Kind::busy);
    case Stage::idle:
    case Stage::success:
    case Stage::error:
    case Stage::answer:
        break;
    }
    m_resetTask.reset();
    m_answers->leave();
    captureFront();
    m_state.setMode(VoiceMode::agent);
    m_state.setLiveText(request);
    m_state.setStage(Stage::processing);
    m_services.warmAgent();
    startProcessing([this, request](CancelToken token) { return processTyped(request, token); });
    return std::nullopt;
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

void VoiceController::setAwaitingReply(bool on) {
    m_turn->setAwaitingReply(on);
}

void VoiceController::newConversation() {
    m_turn->newConversation();
}

const Conversation& VoiceController::conversation() const {
    return m_turn->conversation();
}

// ---------------------------------------------------------------------------------------------
// Answers and follow-up

void VoiceController::showAnswer(const QString& text) {
    m_resetTask.reset();
    setAwaitingReply(AnswerPresenter::endsWithQuestion(text));
    m_answers->show(text);
}

Clock::Duration VoiceController::answerDelay(const QString& text, bool afterSpeech) {
    return AnswerPresenter::answerDelay(text, afterSpeech);
}

void VoiceController::scheduleAnswerDismiss(const QString& text, bool afterSpeech) {
    m_resetTask.reset();
    m_answers->scheduleDismiss(text, afterSpeech);
}

bool VoiceController::shouldListenForFollowUp(const QString& text) const {
    return m_answers->shouldListenForFollowUp(text);
}

void VoiceController::dismissAnswer() {
    if (m_state.stage() != Stage::answer) return;
    m_resetTask.reset();
    m_answers->dismiss();
}

void VoiceController::returnToAnswerFromFollowUp() {
    if (!m_isFollowUpListening || m_state.stage() != Stage::listening) return;
    if (!m_state.liveText().trimmed().isEmpty()) return; // the reply has begun
    const QString answer = m_state.answerText();
    if (answer.isEmpty()) return;
    // Straight back to the answer: the views never see idle in between.
    abandonListening();
    m_isFollowUpListening = false;
    m_answers->returnTo(answer);
}

void VoiceController::toggleSpeech() {
    m_answers->toggleSpeech();
}

void VoiceController::setNotchEngaged(std::function<bool()> engaged) {
    m_answers->notchEngaged = std::move(engaged);
}

QCoro::Task<> VoiceController::waitWhileNotchEngaged(CancelToken cancel) {
    return m_answers->waitWhileNotchEngaged(std::move(cancel));
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
    m_cardShownAt = m_clock.uptime();
    return m_desk->confirm(std::move(preview));
}

void VoiceController::resolveConfirmation(bool approved) {
    m_desk->resolve(approved ? Confirmation::Choice::approve : Confirmation::Choice::decline);
}

void VoiceController::resolveAlternate() {
    m_desk->resolve(Confirmation::Choice::alternate);
}

bool VoiceController::hasPendingConfirmation() const {
    return m_desk->hasPending();
}

} // namespace nolvea
