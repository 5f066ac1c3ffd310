#pragma once

#include "core/AppState.h"
#include "core/VoiceMode.h"
#include "support/CancelToken.h"
#include "support/Clock.h"

#include <QObject>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <optional>

namespace nolvea {

// Plays four scripted voice interactions on the live state, so every animation of the
// overlays can be watched without recording anything. It writes only the fields the overlays
// draw: no microphone, model, sound or history.
//
// The live state is the voice controller's: the demo owns it only while it plays, and gives
// it up for good the moment a real interaction starts (`yield`). Every write checks that
// ownership first, so a real recording or agent turn is never overwritten. Main thread.
class DemoRunner : public QObject {
    Q_OBJECT

public:
    // One animation tick: about 45 a second.
    static constexpr Clock::Duration kTick{22};
    static constexpr int kTicksPerSecond = 45;

    // `clock`: the shared clock when null.
    explicit DemoRunner(AppState& state, Clock* clock = nullptr, QObject* parent = nullptr);
    ~DemoRunner() override;

    // Starts the script when no demo plays and the state is idle; otherwise does nothing.
    void run();
    bool isPlaying() const { return m_playing && !m_playing->isCancelled(); }
    // A real interaction is about to write the live state: the demo stops at once, before
    // that write, and leaves the state at rest (idle, no texts, hands-free off).
    void yield();

    // The ticks of speech lasting `seconds`, truncated.
    static int tickCount(double seconds);
    // The loudness envelope at tick `tick`: a fast swing modulated by a slow one.
    static double envelope(int tick);
    // The words shown after tick `tick` of `ticks`, joined by single blanks.
    static QString visiblePrefix(const QStringList& words, int tick, int ticks);

Q_SIGNALS:
    void playingChanged(bool playing);

private:
    QCoro::Task<> play(int generation, CancelToken cancel);
    QCoro::Task<> script(CancelToken cancel);
    void begin(VoiceMode mode);
    QCoro::Task<> speak(QString text, double seconds, CancelToken cancel);
    QCoro::Task<> processing(QStringList steps, CancelToken cancel);
    QCoro::Task<> result(AppState::Stage stage, QString label, double hold, CancelToken cancel);
    QCoro::Task<> pause(Clock::Duration delay, CancelToken cancel);
    // Throws `Cancelled` unless the demo still owns the live state.
    void claim() const;

    AppState& m_state;
    Clock& m_clock;
    // Set while a script plays; cancelled when the demo gave the state up.
    std::optional<CancelToken> m_playing;
    int m_generation = 0;
};

} // namespace nolvea
