#pragma once

#include "ui/onboarding/OnboardingStep.h"

#include <QString>

#include <optional>

namespace nolvea::OnboardingFlow {

// Spaces and tabs off both ends; line breaks stay.
QString trimmedName(const QString& text);

// What the footer reads from the shared services.
struct FooterFacts {
    QString userName;
    int grantedCount = 0;
    bool aiOnline = false;
    QString model;
    bool googleConnected = false; // an account, an unnamed account or the Workspace server
};

bool canContinue(OnboardingStep step, const FooterFacts& facts);
QString primaryLabel(OnboardingStep step, const FooterFacts& facts);
std::optional<QString> footerHint(OnboardingStep step, const FooterFacts& facts);
// The advance target (none after done) and the back target (welcome before the first).
std::optional<OnboardingStep> next(OnboardingStep step);
OnboardingStep previous(OnboardingStep step);

} // namespace nolvea::OnboardingFlow
