#pragma once

#include <QWidget>

#include <functional>

namespace nolvea {

// The first-run flow's root, starting at the step `initialStep` (0, the welcome, for any
// invalid value); `onFinish` runs when the person completes it.
class OnboardingView : public QWidget {
    Q_OBJECT

public:
    OnboardingView(int initialStep, std::function<void()> onFinish, QWidget* parent = nullptr);

    int step() const { return m_step; }
    // Completes the flow.
    void finish();

private:
    int m_step = 0;
    std::function<void()> m_onFinish;
};

} // namespace nolvea
