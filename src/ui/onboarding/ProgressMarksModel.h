#pragma once

#include "ui/onboarding/OnboardingStep.h"

#include <functional>
#include <vector>

namespace nolvea {

// The row of progress marks while the current step changes from `from` to `to`, a fraction
// p of the way (0 = as for `from`, 1 = as for `to`): the old label shrinks away, the new one
// grows in, a step that became done turns to its check mark, and the marks after a label move
// with its width.
class ProgressMarksModel {
public:
    static constexpr double kMark = 18, kGap = 6, kConnector = 22, kPadX = 14, kPadY = 8;

    struct Mark {
        OnboardingStep step;
        double x;       // the mark's left edge
        double done;    // 0…1: filled in ink with a check mark
        double current; // 0…1: filled in purple with its label showing
        double labelX;  // where the label starts
        // The connector after the mark (none after the last): where it starts and how much
        // of the ink it has.
        double connectorX;
        double connectorDone;
    };
    struct Row {
        std::vector<Mark> marks;
        double width;
    };

    static Row layout(OnboardingStep from, OnboardingStep to, double p,
                      const std::function<double(OnboardingStep)>& labelWidth);

    ProgressMarksModel() = delete;
};

} // namespace nolvea
