#include "ui/onboarding/OnboardingView.h"

namespace nolvea {

OnboardingView::OnboardingView(int initialStep, std::function<void()> onFinish, QWidget* parent)
    : QWidget(parent)
    , m_onFinish(std::move(onFinish)) {
    // Only the welcome exists until the steps of the flow are built.
    Q_UNUSED(initialStep);
}

void OnboardingView::finish() {
    if (m_onFinish) m_onFinish();
}

} // namespace nolvea
