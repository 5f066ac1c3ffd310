#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/onboarding/OnboardingHost.h"
#include "ui/onboarding/OnboardingPage.h"
#include "ui/onboarding/OnboardingStep.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;

namespace nolvea {

class FrameDriver;
class PageMotionEffect;
class ProgressSteps;
class ReplaceTransition;
class SiteButton;
class SnapshotLayer;

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
    // The primary button's cross-fade from one label to the next.
    ReplaceTransition& primaryChange() const { return *m_primaryChange; }
    bool canContinue() const;
    // Whether a change of page is still moving on screen.
    bool isMoving() const;

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
    // Starts the slide from the page that was shown to the one just built.
    void startMove(bool chromeBefore);
    bool stepMotion(double dt);
    void applyMotion();
    void endMotion();

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
    ReplaceTransition* m_primaryChange;

    FrameDriver* m_driver = nullptr;
    // The latest change of page, 0 when it starts and 1 at rest.
    SpringValue m_move{1};
    // The footer's hint coming in (1) or going away (0).
    SpringValue m_hintShown{0};
    QPointer<SnapshotLayer> m_oldPage;
    QPointer<SnapshotLayer> m_oldProgress;
    QPointer<SnapshotLayer> m_oldFooter;
    bool m_chromeEntering = false;
};

} // namespace nolvea
