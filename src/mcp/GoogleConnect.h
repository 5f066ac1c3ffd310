#pragma once

#include "mcp/MCPManager.h"
#include "platform/CalendarAccounts.h"
#include "support/Error.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <memory>
#include <optional>

namespace nolvea {

class ClockTimer;

// Connects Google Workspace: finds the Google accounts the desktop's calendar store knows,
// reads the OAuth client file the person downloaded from Google's cloud console, and writes
// the "google" server into mcp.json through the MCP manager. Main thread only.
class GoogleConnect : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList macAccounts READ macAccounts NOTIFY macAccountsChanged)
    Q_PROPERTY(bool hasUnnamedAccount READ hasUnnamedAccount NOTIFY hasUnnamedAccountChanged)
    Q_PROPERTY(int calendarAccess READ calendarAccessValue NOTIFY calendarAccessChanged)
public:
    using Authorization = CalendarAccounts::Authorization;

    struct Credentials {
        QString clientID;
        QString clientSecret;
        friend bool operator==(const Credentials&, const Credentials&) = default;
    };

    class ImportError final : public Error {
    public:
        enum class Kind { unreadable, wrongFile };
        explicit ImportError(Kind kind)
            : m_kind(kind) {}
        Kind kind() const { return m_kind; }
        QString message() const override;

    private:
        Kind m_kind;
    };

    // `accounts` may be null: then no account is ever found and access reads `restricted`.
    explicit GoogleConnect(std::shared_ptr<CalendarAccounts> accounts,
                           MCPManager& manager = MCPManager::shared(), QObject* parent = nullptr);
    ~GoogleConnect() override;

    // Built on first use with the installed CalendarAccounts, if any.
    static GoogleConnect& shared();

    // Addresses of the Google accounts found, in order, without repeats.
    QStringList macAccounts() const { return m_macAccounts; }
    // A Google account was found whose address could not be read.
    bool hasUnnamedAccount() const { return m_hasUnnamedAccount; }
    Authorization calendarAccess() const { return m_calendarAccess; }
    int calendarAccessValue() const { return int(m_calendarAccess); }

    // Re-reads the access state and, with full access, the accounts.
    void refresh();
    // Whether the desktop has a calendar store to find accounts in.
    bool hasAccountStore() const { return bool(m_accounts); }
    // Refreshes now, then every 2 seconds and on every change of the store.
    void startWatching();
    // Ends the watch; a later `startWatching` starts it anew.
    void stopWatching();
    bool isWatching() const { return bool(m_timer); }
    // Asks for calendar access (or opens the privacy settings), then refreshes.
    QCoro::Task<> requestAccess();
    // The "google" entry of the manager's servers; null when there is none.
    const MCPManager::Server* workspaceServer() const;

    static constexpr std::chrono::milliseconds watchInterval{2000};
    static const QUrl cloudConsoleURL;
    static const QUrl enableAPIsURL;

    // uvx is installed in one of the usual folders.
    static bool hasUVX();
    // The dialog for choosing the client file; nothing when cancelled or unavailable.
    static std::optional<QString> pickCredentialsFile();
    // The newest client_secret_*.json of the last 7 days in the Downloads folder.
    static std::optional<QString> recentCredentialsFile();
    // Reads an OAuth client file. Throws ImportError.
    static Credentials credentials(const QString& path);
    // The server entry that runs the Workspace MCP server for this account.
    static MCPServerConfig workspaceConfig(const QString& email, const Credentials& credentials,
                                           const QStringList& services);
    // Writes that entry as "google" and reloads. Returns why the file could not be changed
    // (an unreadable mcp.json is left as it is); nothing on success.
    static std::optional<MCPError> installWorkspace(const QString& email,
                                                    const Credentials& credentials,
                                                    const QStringList& services,
                                                    MCPManager& manager = MCPManager::shared());

Q_SIGNALS:
    void macAccountsChanged();
    void hasUnnamedAccountChanged();
    void calendarAccessChanged();

private:
    std::shared_ptr<CalendarAccounts> m_accounts;
    MCPManager& m_manager;
    QStringList m_macAccounts;
    bool m_hasUnnamedAccount = false;
    Authorization m_calendarAccess = Authorization::restricted;
    std::unique_ptr<ClockTimer> m_timer;
    bool m_observing = false;
};

} // namespace nolvea
