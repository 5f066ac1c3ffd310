#pragma once

#include "ui/onboarding/OnboardingHost.h"
#include "ui/onboarding/OnboardingPage.h"
#include "ui/onboarding/OnboardingStep.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;

namespace nolvea {

class ProgressSteps;
class SiteButton;

// The first-run flow's root, starting at the step `initialStep` (0, the welcome, for any
// invalid value); `onFinish` runs when the person completes it. One page at a time, the
// progress marks above the tracked ones and the footer below them.
class OnboardingView : public QWidget {
    Q_OBJECT

public:
    OnboardingView(int initialStep, std::function<void()> onFinish, QWidget* parent = nullptr);
    ~OnboardingView() override;

    void setHost(OnboardingHost host) { m_host = std::move(host); }

    OnboardingStep step() const { return m_step; }
    bool movedForward() const { return m_forward; }
    OnboardingPage* page() const { return m_page; }

    // The footer's two actions and the move between pages.
    void advance();
    void back();
    void go(OnboardingStep target);
    // Stores the trimmed name and the completion, then hands back to the host.
    void finish();

    QString primaryLabel() const;
    bool canContinue() const;

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildPage();
    void refreshFooter();
    void returnPressed();
    void leaveScreen();

    OnboardingStep m_step = OnboardingStep::welcome;
    bool m_forward = true;
    bool m_onScreen = false;
    std::function<void()> m_onFinish;
    OnboardingHost m_host;

    ProgressSteps* m_progress;
    QWidget* m_pageArea;
    QPointer<OnboardingPage> m_page;
    QWidget* m_footer;
    SiteButton* m_back;
    QLabel* m_hint;
    SiteButton* m_primary;
};

} // namespace nolvea
