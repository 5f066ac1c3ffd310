#pragma once

#include "ui/onboarding/OnboardingPage.h"

#include <memory>
#include <optional>

class QVBoxLayout;

namespace nolvea {

class ClockTimer;
class GoogleConnect;
class GoogleStepChevron;
class OnboardingSymbolLabel;
class ReplaceTransition;
class SiteButton;

// "Conecte o Google": the desktop's own Google accounts, when it has a calendar store, and the
// guided set-up of Drive, Docs and Sheets through the person's own OAuth client file.
class GoogleStep : public OnboardingPage {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kFileWatch{2000};

    explicit GoogleStep(GoogleConnect& google, QWidget* parent = nullptr);
    ~GoogleStep() override;

    bool showsDriveSteps() const;
    void setShowDrive(bool show);
    std::optional<QString> recentFile() const { return m_recentFile; }
    std::optional<QString> driveError() const { return m_driveError; }
    QString email() const { return m_email; }
    void setEmail(const QString& email);
    bool isWatchingFiles() const { return bool(m_fileWatch); }
    void connectAccount();
    void importCredentials();
    // The cards' blur from one state to the next, and the Drive card's chevron.
    ReplaceTransition& accountChange() const { return *m_accountChange; }
    ReplaceTransition& driveChange() const { return *m_driveChange; }
    GoogleStepChevron* chevron() const { return m_chevron; }

protected:
    void appear() override;
    void disappear() override;

private:
    void render();
    QWidget* accountCard();
    QWidget* driveCard();
    QWidget* driveSteps();
    void updateFileWatch();

    GoogleConnect& m_google;
    bool m_connecting = false;
    bool m_showDrive = false;
    std::optional<QString> m_recentFile;
    QString m_email;
    std::optional<QString> m_driveError;
    std::unique_ptr<ClockTimer> m_fileWatch;
    QVBoxLayout* m_accountSlot;
    QVBoxLayout* m_driveSlot;
    QWidget* m_accountContent = nullptr;
    QWidget* m_driveContent = nullptr;
    int m_accountState = -1;
    int m_driveState = -1;
    ReplaceTransition* m_accountChange;
    ReplaceTransition* m_driveChange;
    OnboardingSymbolLabel* m_configured;
    GoogleStepChevron* m_chevron;
    SiteButton* m_driveToggle;
};

} // namespace nolvea
