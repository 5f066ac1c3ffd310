#pragma once

#include "ui/components/SettingsCard.h"

class QComboBox;
class QLabel;

namespace nolvea {

class SettingRow;
class StatusDot;
class TTSServer;
class AppSettings;

// "Voz e conversa": whether and how answers are spoken, the neural server's state, the speed
// and follow-up listening. Warms the chosen neural voice when shown and when the engine or
// the spoken answers change.
class VoiceSettingsCard : public SettingsCard {
    Q_OBJECT

public:
    VoiceSettingsCard(AppSettings& settings, TTSServer& tts, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void followEngine();
    void followStatus();
    void listSystemVoices();
    void showSystemVoice();

    AppSettings& m_settings;
    TTSServer& m_tts;
    SettingRow* m_engineRow;
    SettingRow* m_neuralRow;
    QWidget* m_statusLine;
    StatusDot* m_dot;
    QLabel* m_statusText;
    SettingRow* m_systemRow;
    QComboBox* m_systemVoice;
};

} // namespace nolvea
