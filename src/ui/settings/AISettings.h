#pragma once

#include "support/Clock.h"

#include <QWidget>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QHBoxLayout;

namespace nolvea {

class AccountRow;
class FrameDriver;
class ReplaceTransition;
class SettingRow;
class SettingsCard;
class ShimmerText;
class SiteButton;
class StatusDot;

// The "IA" pane: the provider, what it needs (address, key or account login), the model, the
// connection, and the dictation clean-up with its test. Checks of the connection started for
// settings the person has since changed never show: the status keeps only the newest check,
// and a clean-up test's result is dropped when the provider, address, model or key changed
// while it ran. Typing a key checks once the typing pauses.
class AISettings : public QWidget {
    Q_OBJECT

public:
    static constexpr Clock::Duration kKeyPause{500};

    explicit AISettings(QWidget* parent = nullptr);
    ~AISettings() override;

    QComboBox* providerPicker() const { return m_provider; }
    QLineEdit* keyField() const { return m_key; }
    // Why the key typed was not stored; hidden while nothing failed.
    QLabel* keyErrorLabel() const { return m_keyError; }
    QLineEdit* addressField() const { return m_address; }
    QWidget* modelControl() const { return m_modelControl; }
    AccountRow* accountRow() const { return m_account; }
    SiteButton* testButton() const { return m_test; }
    QLabel* testOutputLabel() const { return m_output; }
    // The result line's blur-replace, in and out.
    ReplaceTransition* testOutputChange() const { return m_outputChange; }
    const std::optional<QString>& testOutput() const { return m_testOutput; }
    bool testing() const { return m_testing; }

    void runTest();

protected:
    void showEvent(QShowEvent* e) override;

private:
    SettingsCard* providerCard();
    SettingsCard* dictationCard();
    void providerChanged();
    void showProvider();
    void showStatus();
    void showKeyError();
    void showModelControl();
    void showTest();
    // Puts `output` under the test line, or nothing, with the blur-replace transition.
    void showOutput(const std::optional<QString>& output);
    void settingsMoved();
    QCoro::Task<> test();

    QComboBox* m_provider;
    SettingsCard* m_providerCard;
    SettingRow* m_localityRow;
    StatusDot* m_dot;
    QLabel* m_title;
    QWidget* m_accountDivider;
    AccountRow* m_account = nullptr;
    QWidget* m_keyDivider;
    SettingRow* m_keyRow;
    QLabel* m_keyLink;
    QLineEdit* m_key;
    QLabel* m_keyError;
    QWidget* m_addressDivider;
    SettingRow* m_addressRow;
    QLineEdit* m_address;
    QHBoxLayout* m_modelHolder;
    QWidget* m_modelControl = nullptr;
    SettingsCard* m_dictationCard;
    SiteButton* m_test;
    QLabel* m_latency;
    ShimmerText* m_shimmer;
    QLabel* m_output;
    ReplaceTransition* m_outputChange;
    FrameDriver* m_outputLeave; // hides the emptied line once its old text has left

    std::optional<QString> m_testOutput;
    bool m_testing = false;
    quint64 m_settingsRun = 0; // bumped whenever the provider, address, model or key change
    std::unique_ptr<ClockTimer> m_keyPause;
};

} // namespace nolvea
