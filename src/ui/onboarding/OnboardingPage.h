#pragma once

#include <QWidget>

namespace nolvea {

// A page of the first-run flow. It changes settings and starts its watchers only while it is
// really on screen (shown in a visible window), never when built or rendered offscreen, and
// ends them when it leaves the screen or is destroyed.
class OnboardingPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    bool isOnScreen() const { return m_onScreen; }

protected:
    virtual void appear() {}
    virtual void disappear() {}
    // For the destructor of each page: ends what `appear` started.
    void leaveScreen();

    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool m_onScreen = false;
};

} // namespace nolvea
