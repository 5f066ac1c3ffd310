#pragma once

#include "core/HotkeyChoice.h"
#include "ui/animation/SpringValue.h"
#include "ui/onboarding/HotkeyTest.h"
#include "ui/onboarding/OnboardingHost.h"
#include "ui/onboarding/OnboardingPage.h"

#include <QList>

#include <atomic>
#include <memory>

class QLabel;

namespace nolvea {

class AppSettings;
class AudioRecorder;
class BrandMark;
class ClockTimer;
class FrameDriver;
class HotkeyMonitor;
class KeyboardKey;
class PageMotionEffect;

// "Sua tecla para falar": choose the push-to-talk key by pressing or clicking it and try it at
// once. While on screen the voice controller is held off and every key the desktop listener
// hears reaches the test; holding the chosen key records from the microphone for the level
// display.
class HotkeyStep : public OnboardingPage {
    Q_OBJECT

public:
    static constexpr int kLevelCount = 24;
    static constexpr std::chrono::milliseconds kTick{70};

    HotkeyStep(AppSettings& settings, OnboardingHost host, QWidget* parent = nullptr);
    ~HotkeyStep() override;

    const HotkeyTest& test() const { return m_test; }
    QList<float> levels() const { return m_levels; }
    QString titleText() const;
    QString detailText() const;
    const QList<KeyboardKey*>& keys() const { return m_keys; }
    // Makes `choice` the push-to-talk key (a click on the drawn keyboard, or a press).
    void select(HotkeyChoice choice);
    // One key the desktop listener heard.
    void handle(KeyEvent::Key key, bool down);

protected:
    void appear() override;
    void disappear() override;

private:
    void render();
    void tick();
    void startRecording();
    void stopRecording();

    AppSettings& m_settings;
    OnboardingHost m_host;
    HotkeyMonitor* m_monitor = nullptr;
    HotkeyTest m_test;
    QList<float> m_levels;
    QList<KeyboardKey*> m_keys;
    BrandMark* m_mark;
    QLabel* m_title;
    QLabel* m_detail;
    QLabel* m_check;
    PageMotionEffect* m_checkMotion;
    SpringValue m_checkIn{0};
    FrameDriver* m_driver;
    QWidget* m_tips = nullptr;
    void buildTips();
    std::unique_ptr<ClockTimer> m_loop;
    std::unique_ptr<AudioRecorder> m_recorder;
    std::shared_ptr<std::atomic<float>> m_lastLevel = std::make_shared<std::atomic<float>>(0);
};

} // namespace nolvea
