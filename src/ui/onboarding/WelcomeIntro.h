#pragma once

#include "ui/animation/EaseOutValue.h"
#include "ui/animation/SpringValue.h"
#include "ui/onboarding/OnboardingMotion.h"
#include "ui/onboarding/OnboardingPage.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QLabel;

namespace nolvea {

class AppSettings;
class BrandMark;
class ClockTimer;
class FrameDriver;
class PageMotionEffect;
class SiteButton;
class SnapshotLayer;

// The opening page: the mark grows in sharp out of a blur while a ring ripples away, and then
// breathes; "Olá" turns through seven languages into the person's greeting, the words rise in
// and out; "Começar" hands over to the flow. Flat rendering or reduced motion show the last
// state at once.
class WelcomeIntro : public OnboardingPage {
    Q_OBJECT

public:
    WelcomeIntro(AppSettings& settings, std::function<void()> onStart, QWidget* parent = nullptr);
    ~WelcomeIntro() override;

    int phase() const { return m_phase; }
    QString titleText() const;
    bool isBreathing() const { return bool(m_breath); }
    // Where each part of the page stands in its own transition (1 = in place).
    struct Progress {
        double mark, ripple, title, word, text, buttons;
    };
    Progress progress() const;
    bool showsRing() const { return m_ring; }

protected:
    void appear() override;
    void disappear() override;
    void paintEvent(QPaintEvent*) override;

private:
    void play(const OnboardingMotion::Beat& beat);
    void jumpToEnd();
    void changeWord(const QString& word, const OnboardingMotion::Curve& curve);
    void animate(SpringValue& value, const OnboardingMotion::Curve& curve);
    bool step(double dt);
    void applyLooks();

    AppSettings& m_settings;
    int m_phase = 4;
    BrandMark* m_mark;
    QLabel* m_title;
    QWidget* m_text;
    QWidget* m_buttons;
    SiteButton* m_start;
    PageMotionEffect* m_markMotion;
    PageMotionEffect* m_titleMotion;
    PageMotionEffect* m_textMotion;
    PageMotionEffect* m_buttonsMotion;
    QPointer<SnapshotLayer> m_oldWord;
    FrameDriver* m_driver;
    // Springs and ease-outs, each towards 1 when its part comes in.
    SpringValue m_markIn{1};
    EaseOutValue m_ripple{0, 1.6};
    EaseOutValue m_titleIn{1, 0.5};
    SpringValue m_word{1};
    SpringValue m_textIn{1};
    SpringValue m_buttonsIn{1};
    // The resting ring shows only while the sequence plays (never flat).
    bool m_ring = false;
    std::vector<std::unique_ptr<ClockTimer>> m_steps;
    std::unique_ptr<ClockTimer> m_breath;
};

} // namespace nolvea
