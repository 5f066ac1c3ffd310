#pragma once

#include "ai/AccountBridge.h"
#include "core/AIProvider.h"

#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

namespace nolvea {

// The state of the subscription account row: the tool's login state, a login or logout under
// way and its failure. Only the current tool's answers are kept: a status, login or logout
// that ends after the row moved to the other tool is dropped, and nothing touches the model
// once it is gone.
class AccountRowModel : public QObject {
    Q_OBJECT

public:
    using CLI = AccountBridge::CLI;

    AccountRowModel(AIProvider provider, std::function<void()> onChange, QObject* parent = nullptr);

    static CLI tool(AIProvider provider);
    static QString toolName(CLI cli);
    static QString installCommand(CLI cli);
    static QUrl installPage(CLI cli);

    AIProvider provider() const { return m_provider; }
    CLI tool() const { return tool(m_provider); }
    // Changing the tool forgets the other tool's state and reads this one's.
    void setProvider(AIProvider provider);

    const std::optional<AccountBridge::Status>& account() const { return m_account; }
    const std::optional<QString>& busy() const { return m_busy; }
    const std::optional<QString>& error() const { return m_error; }

    // The explanation under "Conta".
    QString detail() const;
    // The text of the logout confirmation.
    QString logoutMessage() const;

    QCoro::Task<> reload();
    void login();
    void logout();

Q_SIGNALS:
    void changed();

private:
    QCoro::Task<> run(bool signIn);

    AIProvider m_provider;
    std::function<void()> m_onChange;
    quint64 m_toolRun = 0; // bumped when the tool changes
    std::optional<AccountBridge::Status> m_account;
    std::optional<QString> m_busy;
    std::optional<QString> m_error;
};

} // namespace nolvea
