#include "speech/AnswerPresenter.h"

#include "core/AppSettings.h"
#include "core/AppState.h"
#include "speech/Speaker.h"
#include "support/Error.h"

#include <QPointer>

#include <algorithm>

namespace nolvea {

AnswerPresenter::AnswerPresenter(AppState& state, AppSettings& settings, Speaker& speaker,
                                 Clock& clock, std::function<void(Sounds::Cue)> playCue,
                                 QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_settings(settings)
    , m_speaker(speaker)
    , m_clock(clock)
    , m_playCue(std::move(playCue)) {}

AnswerPresenter::~AnswerPresenter() {
    // A wait for the notch ends here, before anything it would touch goes.
    m_hold.cancel();
}

bool AnswerPresenter::endsWithQuestion(const QString& text) {
    return text.trimmed().endsWith(QLatin1Char('?'));
}

Clock::Duration AnswerPresenter::answerDelay(const QString& text, bool afterSpeech) {
    if (afterSpeech) return Clock::Duration(6000);
    const int words = int(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
    const double seconds = std::clamp(double(words) / 3.0 + 2.0, 5.0, 25.0);
    return Clock::Duration(qint64(seconds * 1000.0));
}

bool AnswerPresenter::shouldListenForFollowUp(const QString& text) const {
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

void AnswerPresenter::show(const QString& text) {
    cancelDismissal();
    ++m_run;
    m_state.setAnswerText(text);
    m_state.setStage(AppState::Stage::answer);
    if (!m_settings.speakAnswers()) {
        m_playCue(Sounds::Cue::success);
        scheduleDismiss(text, false);
        return;
    }
    speak(text, true);
}

void AnswerPresenter::speak(const QString& text, bool mayFollowUp) {
    const quint64 run = m_run;
    m_state.setIsSpeaking(true);
    QPointer<AnswerPresenter> self(this);
    m_speaker.speak(text, [self, run, text, mayFollowUp] {
        if (self) self->spoken(run, text, mayFollowUp);
    });
}

void AnswerPresenter::spoken(quint64 run, const QString& text, bool mayFollowUp) {
    // The speech of an answer no longer shown, or stopped by the person.
    if (run != m_run) return;
    m_state.setIsSpeaking(false);
    if (m_state.stage() != AppState::Stage::answer) return;
    if (mayFollowUp && shouldListenForFollowUp(text))
        followUpWhenFree(run, newHold());
    else
        scheduleDismiss(text, true);
}

void AnswerPresenter::scheduleDismiss(const QString& text, bool afterSpeech) {
    cancelDismissal();
    const quint64 run = m_run;
    QPointer<AnswerPresenter> self(this);
    m_dismissTask = m_clock.schedule(answerDelay(text, afterSpeech), false, [self, run] {
        if (self) self->dismissWhenFree(run, self->newHold());
    });
}

QCoro::Task<> AnswerPresenter::dismissWhenFree(quint64 run, CancelToken hold) {
    try {
        co_await waitWhileNotchEngaged(hold);
    } catch (const Cancelled&) {
        co_return;
    }
    if (run == m_run) dismiss();
}

QCoro::Task<> AnswerPresenter::followUpWhenFree(quint64 run, CancelToken hold) {
    try {
        co_await waitWhileNotchEngaged(hold);
    } catch (const Cancelled&) {
        co_return;
    }
    if (run == m_run && m_state.stage() == AppState::Stage::answer && onFollowUp) onFollowUp();
}

QCoro::Task<> AnswerPresenter::waitWhileNotchEngaged(CancelToken cancel) {
    while (notchEngaged && notchEngaged())
        co_await m_clock.sleep(notchRecheck, cancel);
}

CancelToken AnswerPresenter::newHold() {
    m_hold.cancel();
    m_hold = CancelToken();
    return m_hold;
}

void AnswerPresenter::cancelDismissal() {
    m_dismissTask.reset();
    m_hold.cancel();
}

void AnswerPresenter::dismiss() {
    if (m_state.stage() != AppState::Stage::answer) return;
    cancelDismissal();
    ++m_run;
    stopSpeech();
    m_state.setStage(AppState::Stage::idle);
}

void AnswerPresenter::stopSpeech() {
    ++m_run;
    m_speaker.stop();
    m_state.setIsSpeaking(false);
}

void AnswerPresenter::stopSpeechByPerson() {
    // The stopped speech's completion must not open the microphone.
    stopSpeech();
    if (m_state.stage() == AppState::Stage::answer && !m_state.answerText().isEmpty())
        scheduleDismiss(m_state.answerText(), true);
}

void AnswerPresenter::toggleSpeech() {
    if (m_speaker.isSpeaking()) {
        stopSpeechByPerson();
        return;
    }
    if (m_state.stage() != AppState::Stage::answer || m_state.answerText().isEmpty()) return;
    cancelDismissal();
    ++m_run;
    speak(m_state.answerText(), false);
}

void AnswerPresenter::leave() {
    cancelDismissal();
    ++m_run;
    stopSpeech();
}

void AnswerPresenter::returnTo(const QString& text) {
    ++m_run;
    m_state.setStage(AppState::Stage::answer);
    scheduleDismiss(text, false);
}

} // namespace nolvea
