#pragma once

#include "ui/onboarding/OnboardingPage.h"

#include <functional>
#include <memory>
#include <vector>

class QLabel;

namespace nolvea {

class AppSettings;
class BrandMark;
class ClockTimer;
class SiteButton;

// The opening page: the mark grows in and breathes, "Olá" turns through seven languages into
// the person's greeting, and "Começar" hands over to the flow. Flat rendering or reduced motion
// show the last state at once.
class WelcomeIntro : public OnboardingPage {
    Q_OBJECT

public:
    WelcomeIntro(AppSettings& settings, std::function<void()> onStart, QWidget* parent = nullptr);
    ~WelcomeIntro() override;

    int phase() const { return m_phase; }
    QString titleText() const;
    bool isBreathing() const { return bool(m_breath); }

protected:
    void appear() override;
    void disappear() override;

private:
    void setPhase(int phase);
    void setGreeting(const QString& word);

    AppSettings& m_settings;
    int m_phase = 0;
    BrandMark* m_mark;
    QLabel* m_title;
    QWidget* m_text;
    QWidget* m_buttons;
    SiteButton* m_start;
    std::vector<std::unique_ptr<ClockTimer>> m_steps;
    std::unique_ptr<ClockTimer> m_breath;
};

} // namespace nolvea
