#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/onboarding/OnboardingStep.h"

#include <QWidget>

namespace nolvea {

class FrameDriver;

// The row of marks over a tracked page: done steps checked in ink, the current one filled in
// purple with its label, the rest as numbered rings, joined by short lines. A new current step
// morphs in: the old label shrinks away, the new one grows, the finished mark's check scales in.
class ProgressSteps : public QWidget {
    Q_OBJECT

public:
    explicit ProgressSteps(OnboardingStep current, QWidget* parent = nullptr);

    OnboardingStep current() const { return m_current; }
    void setCurrent(OnboardingStep step);
    // How far the row has come from the previous current step (1 = at rest).
    double morph() const { return m_morph.value(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    OnboardingStep m_previous;
    OnboardingStep m_current;
    SpringValue m_morph{1};
    FrameDriver* m_driver;
};

} // namespace nolvea
