#include "ai/AccountBridge.h"

#include "support/Graphemes.h"

#include <QStandardPaths>

namespace nolvea {

QString AccountBridge::BridgeError::message() const {
    const QString tool = name(m_cli);
    switch (m_kind) {
    case Kind::notInstalled:
        return tool + QStringLiteral(" não está instalado (Ajustes › IA)");
    case Kind::notLoggedIn:
        return QStringLiteral("Entre na sua conta pelo ") + tool +
               QStringLiteral(" (Ajustes › IA)");
    case Kind::failed:
        return tool + QStringLiteral(": ") + Graphemes::first(m_text, 200);
    case Kind::badOutput:
        return tool + QStringLiteral(" devolveu uma resposta que a Nolvea não entendeu");
    }
    return {};
}

QString AccountBridge::name(CLI cli) {
    return cli == CLI::claude ? QStringLiteral("Claude Code") : QStringLiteral("Codex");
}

QString AccountBridge::executable(CLI cli) {
    return cli == CLI::claude ? QStringLiteral("claude") : QStringLiteral("codex");
}

QCoro::Task<ChatMessage> AccountBridge::chat(AIProvider provider, QString, std::vector<ChatMessage>,
                                             std::optional<std::vector<ToolSpec>>, double) {
    const CLI cli = provider == AIProvider::chatgptAccount ? CLI::codex : CLI::claude;
    if (QStandardPaths::findExecutable(executable(cli)).isEmpty())
        throw BridgeError::notInstalled(cli);
    // Driving the tool is not part of this build: say so rather than pretend.
    throw BridgeError::failed(
        cli, QStringLiteral("a conversa pela conta ainda não está disponível nesta versão"));
    co_return ChatMessage{};
}

QCoro::Task<AccountBridge::Status> AccountBridge::status(CLI cli) {
    Status s;
    s.installed = !QStandardPaths::findExecutable(executable(cli)).isEmpty();
    // This build does not ask the tool for its login, so it never claims one.
    s.loggedIn = false;
    s.detail = s.installed ? QStringLiteral("Login não verificado")
                           : name(cli) + QStringLiteral(" não está instalado");
    co_return s;
}

} // namespace nolvea
