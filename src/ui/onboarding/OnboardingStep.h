#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace nolvea {

// The seven pages of the first-run flow, in order; name to google are the tracked ones that
// show the progress marks and the footer.
enum class OnboardingStep { welcome, name, permissions, hotkey, ai, google, done };

namespace OnboardingSteps {
// The step of a raw value 0...6; nothing for any other.
std::optional<OnboardingStep> fromRaw(int raw);
const std::vector<OnboardingStep>& tracked();
bool isTracked(OnboardingStep step);
// The label beside the current progress mark; empty for the untracked steps.
QString label(OnboardingStep step);
} // namespace OnboardingSteps

} // namespace nolvea
