#include "ui/onboarding/ProgressMarksModel.h"

#include <algorithm>

namespace nolvea {

ProgressMarksModel::Row
ProgressMarksModel::layout(OnboardingStep from, OnboardingStep to, double p,
                           const std::function<double(OnboardingStep)>& labelWidth) {
    const double q = std::clamp(p, 0.0, 1.0);
    auto mix = [q](bool a, bool b) { return (a ? 1.0 - q : 0.0) + (b ? q : 0.0); };
    Row row{{}, 0};
    const auto& steps = OnboardingSteps::tracked();
    double x = kPadX;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const OnboardingStep s = steps[i];
        Mark m{s, x, mix(int(s) < int(from), int(s) < int(to)), mix(s == from, s == to), 0, -1, 0};
        x += kMark;
        m.labelX = x + kGap;
        // The label's room opens and closes with it.
        if (m.current > 0) x += m.current * (kGap + labelWidth(s));
        if (i + 1 < steps.size()) {
            m.connectorX = x + kGap;
            m.connectorDone = m.done;
            x += kConnector + 2 * kGap;
        }
        row.marks.push_back(m);
    }
    row.width = x + kPadX;
    return row;
}

} // namespace nolvea
