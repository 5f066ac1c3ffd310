#pragma once

#include "ui/onboarding/OnboardingPage.h"

#include <functional>
#include <memory>

class QGridLayout;
class QLabel;

namespace nolvea {

class BrandMark;
class ClockTimer;
class Confetti;
class KeyCap;

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

protected:
    void appear() override;
    void disappear() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void render();

    BrandMark* m_mark;
    QLabel* m_title;
    QGridLayout* m_tiles;
    QWidget* m_tryIt = nullptr;
    QLabel* m_tryDetail;
    Confetti* m_confetti;
    std::unique_ptr<ClockTimer> m_burst;
    bool m_celebrated = false;
};

} // namespace nolvea
