#include "ui/onboarding/OnboardingFlow.h"

namespace nolvea::OnboardingFlow {

QString trimmedName(const QString& text) {
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype from = 0, to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

bool canContinue(OnboardingStep step, const FooterFacts& facts) {
    return step != OnboardingStep::name || !trimmedName(facts.userName).isEmpty();
}

QString primaryLabel(OnboardingStep step, const FooterFacts& facts) {
    switch (step) {
    case OnboardingStep::permissions:
        return facts.grantedCount == 3 ? QStringLiteral("Continuar")
                                       : QStringLiteral("Fazer depois");
    case OnboardingStep::ai:
        return facts.aiOnline && !facts.model.isEmpty() ? QStringLiteral("Continuar")
                                                        : QStringLiteral("Configurar depois");
    case OnboardingStep::google:
        return facts.googleConnected ? QStringLiteral("Continuar") : QStringLiteral("Pular");
    default:
        return QStringLiteral("Continuar");
    }
}

std::optional<QString> footerHint(OnboardingStep step, const FooterFacts& facts) {
    if (step != OnboardingStep::permissions || facts.grantedCount >= 3) return std::nullopt;
    return QString::number(facts.grantedCount) + QStringLiteral(" de 3 permitidas");
}

std::optional<OnboardingStep> next(OnboardingStep step) {
    return OnboardingSteps::fromRaw(int(step) + 1);
}

OnboardingStep previous(OnboardingStep step) {
    return OnboardingSteps::fromRaw(int(step) - 1).value_or(OnboardingStep::welcome);
}

} // namespace nolvea::OnboardingFlow
