#pragma once

#include "ui/onboarding/OnboardingStep.h"

#include <QWidget>

namespace nolvea {

// The row of marks over a tracked page: done steps checked in ink, the current one filled in
// purple with its label, the rest as numbered rings, joined by short lines.
class ProgressSteps : public QWidget {
    Q_OBJECT

public:
    explicit ProgressSteps(OnboardingStep current, QWidget* parent = nullptr);

    OnboardingStep current() const { return m_current; }
    void setCurrent(OnboardingStep step);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    OnboardingStep m_current;
};

} // namespace nolvea
