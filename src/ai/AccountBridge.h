#pragma once

#include "ai/AIProvider.h"
#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"
#include "support/Error.h"

#include <QString>
#include <qcoro/qcorotask.h>

#include <optional>
#include <vector>

namespace nolvea {

// The subscription accounts, answered by the vendors' command-line tools.
class AccountBridge {
public:
    enum class CLI { claude, codex };

    struct Status {
        bool installed = false;
        bool loggedIn = false;
        QString detail;
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
        const QString& text() const { return m_text; }
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

    // "Claude Code" or "Codex".
    static QString name(CLI cli);
    // The command looked up on PATH.
    static QString executable(CLI cli);

    // One chat turn through the provider's tool (`claudeAccount`: claude, `chatgptAccount`:
    // codex). Throws `BridgeError` or `LLMError::emptyResponse`.
    static QCoro::Task<ChatMessage> chat(AIProvider provider, QString model,
                                         std::vector<ChatMessage> messages,
                                         std::optional<std::vector<ToolSpec>> tools,
                                         double timeout);

    // The tool's login state; never throws.
    static QCoro::Task<Status> status(CLI cli);
};

} // namespace nolvea
