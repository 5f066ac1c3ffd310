#pragma once

#include "ui/animation/AppearTransition.h"
#include "ui/animation/TransitionLook.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace nolvea {

class FrameDriver;
class TransitionEffect;

// Replaces what a widget shows with a transition: just before the change a picture of the
// old look is taken and leaves where it was, while the widget comes in anew. The picture
// takes no clicks and is gone once it has left.
class ReplaceTransition : public QObject {
    Q_OBJECT

public:
    using Look = std::function<TransitionLook(double progress)>;

    // `look` gives the look at a progress from 0 (coming or gone) to 1 (at rest).
    ReplaceTransition(QWidget* target, SpringSpec spring, Look look);

    // Call just before the target changes. Does nothing while the target is not on screen or
    // motion is reduced.
    void aboutToChange();
    bool isRunning() const;
    // The picture on its way out, while there is one.
    QWidget* leaving() const { return m_ghost; }
    double progress() const { return m_in.progress(); }

private:
    bool step(double dt);
    void apply();

    QWidget* m_target;
    SpringSpec m_spring;
    Look m_look;
    TransitionEffect* m_effect;
    FrameDriver* m_driver;
    QPointer<QWidget> m_ghost;
    TransitionEffect* m_ghostEffect = nullptr;
    AppearTransition m_in{true};
    AppearTransition m_out;
};

} // namespace nolvea
