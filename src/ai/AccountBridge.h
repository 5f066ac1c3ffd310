#pragma once

#include "ai/BridgeRun.h"
#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"
#include "core/AIProvider.h"
#include "support/Error.h"

#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <optional>
#include <vector>

namespace nolvea {

// The subscription accounts, answered by the vendors' own command-line tools run as child
// processes: no API key, the user's logged-in account.
class AccountBridge {
public:
    enum class CLI { claude, codex };

    struct Status {
        bool installed = false;
        bool loggedIn = false;
        QString detail; // the account, shown beside its row; "" when unknown

        bool operator==(const Status&) const = default;
    };

    class BridgeError final : public Error {
    public:
        enum class Kind { notInstalled, notLoggedIn, failed, badOutput };

        static BridgeError notInstalled(CLI cli) { return {Kind::notInstalled, cli, {}}; }
        static BridgeError notLoggedIn(CLI cli) { return {Kind::notLoggedIn, cli, {}}; }
        static BridgeError failed(CLI cli, QString text) { return {Kind::failed, cli, text}; }
        static BridgeError badOutput(CLI cli) { return {Kind::badOutput, cli, {}}; }

        Kind kind() const { return m_kind; }
        CLI cli() const { return m_cli; }
        const QString& text() const& { return m_text; }
        QString text() const&& { return m_text; }
        QString message() const override;

    private:
        BridgeError(Kind kind, CLI cli, QString text)
            : m_kind(kind)
            , m_cli(cli)
            , m_text(std::move(text)) {}
        Kind m_kind;
        CLI m_cli;
        QString m_text;
    };

    static constexpr double statusTimeout = 20;
    static constexpr double loginTimeout = 300;
    static constexpr double logoutTimeout = 30;

    // "Claude Code" or "Codex".
    static QString name(CLI cli);
    // "claude" or "codex".
    static QString commandName(CLI cli);
    // The folders the tools are usually installed in, searched before PATH.
    static QStringList toolFolders();
    // The tool's executable file: the first in `toolFolders`, else on PATH; "" when none.
    static QString executable(CLI cli);

    // One chat turn through the provider's tool (`chatgptAccount`: codex, any other: claude).
    // Throws `BridgeError` or `LLMError::emptyResponse`.
    static QCoro::Task<ChatMessage> chat(AIProvider provider, QString model,
                                         std::vector<ChatMessage> messages,
                                         std::optional<std::vector<ToolSpec>> tools,
                                         double timeout);

    // The tool's login state, asked with a 20 s limit; never throws.
    static QCoro::Task<Status> status(CLI cli);
    // The login state a finished status command reports.
    static Status readStatus(CLI cli, const BridgeRun& run);
    // The tool's own sign-in (in the browser) and sign-out. Throw `BridgeError`.
    static QCoro::Task<> login(CLI cli);
    static QCoro::Task<> logout(CLI cli);
};

} // namespace nolvea
