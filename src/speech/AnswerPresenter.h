#pragma once

#include "audio/Sounds.h"
#include "support/CancelToken.h"
#include "support/Clock.h"

#include <QObject>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>

namespace nolvea {

class AppSettings;
class AppState;
class Speaker;

// Shows an agent's answer, speaks it, and takes it away again: after its delay, or after the
// speech with a follow-up listening when a reply is due. Holds the dismissal and the
// follow-up back while the person works in the notch. Main thread.
class AnswerPresenter : public QObject {
    Q_OBJECT

public:
    // How often an engaged notch is asked again.
    static constexpr Clock::Duration notchRecheck{250};

    AnswerPresenter(AppState& state, AppSettings& settings, Speaker& speaker, Clock& clock,
                    std::function<void(Sounds::Cue)> playCue, QObject* parent = nullptr);
    ~AnswerPresenter() override;

    // The answer was spoken to its end and a reply is due: listen for it.
    std::function<void()> onFollowUp;
    // Whether the person is pointing at or typing in the notch; none: never.
    std::function<bool()> notchEngaged;

    void show(const QString& text);
    void scheduleDismiss(const QString& text, bool afterSpeech);
    // Only while an answer is shown: takes it away and silences it.
    void dismiss();
    // Stops the speech when it plays (the answer then leaves after its delay and nothing is
    // listened for); speaks the shown answer again otherwise.
    void toggleSpeech();
    // Stops the speech; its completion acts no more.
    void stopSpeech();
    // The person stopped the speech: it ends, and the answer leaves after its delay.
    void stopSpeechByPerson();
    // Something else takes over (a listening, a typed request): the speech stops and no
    // completion or pending dismissal of the answer acts any more.
    void leave();
    // Shows the shown answer again after a follow-up listening given up.
    void returnTo(const QString& text);
    // A pending dismissal of the answer acts no more.
    void cancelDismissal();

    bool shouldListenForFollowUp(const QString& text) const;
    // Resumes once the notch is not engaged; throws `Cancelled` once `cancel` fired.
    QCoro::Task<> waitWhileNotchEngaged(CancelToken cancel = {});

    // How long an answer stays on screen.
    static Clock::Duration answerDelay(const QString& text, bool afterSpeech);
    static bool endsWithQuestion(const QString& text);

private:
    void speak(const QString& text, bool mayFollowUp);
    void spoken(quint64 run, const QString& text, bool mayFollowUp);
    QCoro::Task<> dismissWhenFree(quint64 run, CancelToken hold);
    QCoro::Task<> followUpWhenFree(quint64 run, CancelToken hold);
    CancelToken newHold();

    AppState& m_state;
    AppSettings& m_settings;
    Speaker& m_speaker;
    Clock& m_clock;
    std::function<void(Sounds::Cue)> m_playCue;
    std::unique_ptr<ClockTimer> m_dismissTask;
    CancelToken m_hold; // the wait for the notch of a dismissal or a follow-up
    quint64 m_run = 0;  // a completion or a dismissal of an older answer changes nothing
};

} // namespace nolvea
