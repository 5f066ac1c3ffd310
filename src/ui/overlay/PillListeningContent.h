#pragma once

#include <QWidget>

#include <memory>

class QLabel;

namespace nolvea {

class AppState;
class BrandMark;
class ClockTimer;
class WaveformView;

// The capsule's content while listening: the mark swelling with the voice, the waveform and
// the timer since listening began.
class PillListeningContent : public QWidget {
    Q_OBJECT

public:
    explicit PillListeningContent(AppState& state, QWidget* parent = nullptr);
    ~PillListeningContent() override;

    QLabel* timer() const { return m_timer; }
    // Shows the timer while listening has a start, hides it otherwise.
    void updateTimer();

private:
    void levelsChanged();
    void modeChanged();
    void tick();

    AppState& m_state;
    BrandMark* m_mark;
    WaveformView* m_waveform;
    QLabel* m_timer;
    std::unique_ptr<ClockTimer> m_ticker;
};

} // namespace nolvea
