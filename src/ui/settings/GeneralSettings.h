#pragma once

#include <QWidget>

class QVBoxLayout;

namespace nolvea {

class SettingsCard;
class SettingsSwitch;

// The "Geral" pane: name, push-to-talk key, speech language, overlay, history drawer, sounds,
// launch at login and the three permissions.
class GeneralSettings : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettings(QWidget* parent = nullptr);

    SettingsSwitch* launchAtLoginSwitch() const { return m_launch; }

private:
    SettingsCard* youCard();
    SettingsCard* activationCard();
    SettingsCard* appearanceCard();
    SettingsCard* behaviourCard();
    SettingsCard* permissionsCard();
    void fillPermissions();
    void launchAtLoginToggled(bool on);

    SettingsSwitch* m_launch = nullptr;
    SettingsCard* m_permissions = nullptr;
};

} // namespace nolvea
