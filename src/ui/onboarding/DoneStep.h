#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/onboarding/MotionLook.h"
#include "ui/onboarding/OnboardingPage.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QGridLayout;
class QLabel;

namespace nolvea {

class BrandMark;
class ClockTimer;
class Confetti;
class FrameDriver;
class KeyCap;
class PageMotionEffect;

// The last page: the person greeted by name, what was set up in four tiles, the first agent
// gesture to try, and "Começar a usar", with the success sound and a burst of confetti.
class DoneStep : public OnboardingPage {
    Q_OBJECT

public:
    explicit DoneStep(std::function<void()> finish, QWidget* parent = nullptr);
    ~DoneStep() override;

    QString titleText() const;
    bool hasCelebrated() const { return m_celebrated; }
    Confetti* confetti() const { return m_confetti; }
    // The entrance's progress: 0 before it, 1 once every row is in place.
    double entrance() const { return m_entrance.value(); }

protected:
    void appear() override;
    void disappear() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void render();
    void applyEntrance();
    void burst();

    BrandMark* m_mark;
    QLabel* m_title;
    QWidget* m_summary;
    QGridLayout* m_tiles;
    QLabel* m_tryDetail;
    Confetti* m_confetti;
    std::unique_ptr<ClockTimer> m_burst;
    bool m_celebrated = false;
    FrameDriver* m_driver;
    SpringValue m_entrance{1};
    std::vector<std::pair<PageMotionEffect*, MotionLook (*)(double)>> m_entering;
};

} // namespace nolvea
