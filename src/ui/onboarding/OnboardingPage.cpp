#include "ui/onboarding/OnboardingPage.h"

namespace nolvea {

void OnboardingPage::leaveScreen() {
    if (!m_onScreen) return;
    m_onScreen = false;
    disappear();
}

void OnboardingPage::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_onScreen || !isVisible() || !window()->isVisible()) return;
    m_onScreen = true;
    appear();
}

void OnboardingPage::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    leaveScreen();
}

} // namespace nolvea
