#include "ui/onboarding/OnboardingStep.h"

namespace nolvea::OnboardingSteps {

std::optional<OnboardingStep> fromRaw(int raw) {
    if (raw < 0 || raw > int(OnboardingStep::done)) return std::nullopt;
    return OnboardingStep(raw);
}

const std::vector<OnboardingStep>& tracked() {
    static const std::vector<OnboardingStep> steps{
        OnboardingStep::name, OnboardingStep::permissions, OnboardingStep::hotkey,
        OnboardingStep::ai, OnboardingStep::google};
    return steps;
}

bool isTracked(OnboardingStep step) {
    return step != OnboardingStep::welcome && step != OnboardingStep::done;
}

QString label(OnboardingStep step) {
    switch (step) {
    case OnboardingStep::name:
        return QStringLiteral("Você");
    case OnboardingStep::permissions:
        return QStringLiteral("Permissões");
    case OnboardingStep::hotkey:
        return QStringLiteral("Tecla");
    case OnboardingStep::ai:
        return QStringLiteral("IA");
    case OnboardingStep::google:
        return QStringLiteral("Google");
    default:
        return {};
    }
}

} // namespace nolvea::OnboardingSteps
