#pragma once

#include "ui/animation/FrameClock.h"
#include "ui/animation/MotionEffect.h"
#include "ui/animation/SpringValue.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QWidget;

namespace nolvea {

// A widget coming in or going away: a progress from 0 (the inserted or removed pose) to 1 (at
// rest) driven by a spring, optionally after a delay, and drawn through a `MotionEffect` in the
// pose `look` gives for it. The effect is there only while the widget is not at rest. With
// reduce motion on, every change lands at once.
class WidgetTransition : public QObject {
public:
    using Look = std::function<MotionEffect::Pose(double progress)>;

    // Lives as long as `target` (its parent), starting shown or in its inserted pose.
    WidgetTransition(QWidget* target, Look look, bool shown = true);
    ~WidgetTransition() override;

    // Towards 1 after `delay` seconds.
    void appear(const SpringSpec& spring, double delay = 0);
    // Towards 0; `gone` runs once it is there (at once under reduce motion).
    void disappear(const SpringSpec& spring, std::function<void()> gone = {});
    void jump(bool shown);

    // Called with the progress on every change, for what a pose cannot say (a height).
    void setOnProgress(std::function<void(double)> onProgress);

    double progress() const { return m_progress.value(); }
    bool isAppearing() const { return m_progress.target() == 1; }
    bool isMoving() const { return m_subscription->isActive(); }
    // The effect drawing the widget now; none at rest in the shown pose.
    MotionEffect* effect() const;

private:
    void start();
    void frame(double now);
    void apply();
    void settle();

    QPointer<QWidget> m_target;
    Look m_look;
    SpringValue m_progress;
    double m_delay = 0;
    double m_last = -1;
    std::function<void()> m_gone;
    std::function<void(double)> m_onProgress;
    std::unique_ptr<FrameClock::Subscription> m_subscription;
};

} // namespace nolvea
