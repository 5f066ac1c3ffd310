#pragma once

#include "ui/animation/FrameClock.h"
#include "ui/components/Theme.h"

#include <QObject>

#include <functional>
#include <memory>

class QWidget;

namespace nolvea {

class SpringValue;

// Ties a widget to the frame clock: it asks for frames only while the widget is shown and
// either runs continuous motion or has springs in flight, and repaints it on each frame.
class FrameDriver : public QObject {
public:
    // `step` advances the widget's springs by `dt` seconds and says whether any still moves.
    FrameDriver(QWidget* widget, std::function<bool(double dt)> step = {});
    ~FrameDriver() override;

    void setContinuous(bool on);
    bool isContinuous() const { return m_continuous; }
    // The shortest time between two frames, for effects that need fewer frames than the clock
    // gives; 0 (the default) takes every tick.
    void setMinimumInterval(double seconds) { m_minimumInterval = seconds; }
    // Call after a spring was given a new target.
    void kick();
    // Whether frames are being asked for now.
    bool isActive() const;
    // Time of the last frame (or now, before the first one).
    double time() const { return m_time; }
    // Frames handed to the widget so far.
    int frameCount() const { return m_frames; }

    // Aims `spring` at `target` with `spec`, or puts it there at once under reduce motion.
    void animate(SpringValue& spring, double target, const SpringSpec& spec);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void onFrame(double now);

    QWidget* m_widget;
    std::function<bool(double)> m_step;
    std::unique_ptr<FrameClock::Subscription> m_subscription;
    bool m_continuous = false;
    bool m_moving = false;
    double m_time;
    double m_lastFrame = -1;
    double m_minimumInterval = 0;
    int m_frames = 0;
};

} // namespace nolvea
