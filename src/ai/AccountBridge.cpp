#include "ai/AccountBridge.h"

#include "ai/BridgeOutput.h"
#include "ai/BridgePrompt.h"
#include "ai/BridgeReply.h"
#include "ai/BridgeRunner.h"
#include "ai/ClaudeTurn.h"
#include "ai/CodexTurn.h"
#include "ai/LLMError.h"
#include "support/Graphemes.h"
#include "support/json/JSONValue.h"

#include <QDir>
#include <QFileInfo>
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

QString AccountBridge::commandName(CLI cli) {
    return cli == CLI::claude ? QStringLiteral("claude") : QStringLiteral("codex");
}

QStringList AccountBridge::toolFolders() {
    const QString home = QDir::homePath();
    return {home + QStringLiteral("/.local/bin"),      home + QStringLiteral("/.claude/local"),
            QStringLiteral("/opt/homebrew/bin"),       QStringLiteral("/usr/local/bin"),
            home + QStringLiteral("/.npm-global/bin"), home + QStringLiteral("/.bun/bin"),
            home + QStringLiteral("/.volta/bin")};
}

QString AccountBridge::executable(CLI cli) {
    const QString command = commandName(cli);
    for (const QString& folder : toolFolders()) {
        const QFileInfo file(folder + u'/' + command);
        if (file.isFile() && file.isExecutable()) return file.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(command);
}

QCoro::Task<ChatMessage> AccountBridge::chat(AIProvider provider, QString model,
                                             std::vector<ChatMessage> messages,
                                             std::optional<std::vector<ToolSpec>> tools,
                                             double timeout) {
    const CLI cli = provider == AIProvider::chatgptAccount ? CLI::codex : CLI::claude;
    const QString program = executable(cli);
    if (program.isEmpty()) throw BridgeError::notInstalled(cli);

    const BridgePrompt prompt = BridgePrompt::make(messages, tools);
    BridgeOutput output;
    if (cli == CLI::codex)
        output = co_await CodexTurn::run(program, model, prompt, timeout);
    else
        output = co_await ClaudeTurn::run(program, model, prompt, timeout);

    if (prompt.toolsOffered && (output.structured || cli == CLI::codex))
        co_return BridgeReply::decode(output.structured.value_or(output.text.toUtf8()), cli);
    const QString text = output.text.trimmed();
    if (text.isEmpty()) throw LLMError::emptyResponse();
    ChatMessage message;
    message.role = QStringLiteral("assistant");
    message.content = MessageContent::text(text);
    co_return message;
}

QCoro::Task<AccountBridge::Status> AccountBridge::status(CLI cli) {
    const QString program = executable(cli);
    if (program.isEmpty()) co_return Status{};

    const QStringList args = cli == CLI::claude
                                 ? QStringList{QStringLiteral("auth"), QStringLiteral("status")}
                                 : QStringList{QStringLiteral("login"), QStringLiteral("status")};
    BridgeRun run;
    try {
        run = co_await BridgeRunner::run(program, args, cli, std::nullopt, statusTimeout);
    } catch (const BridgeError&) {
        co_return Status{true, false, {}};
    }

    co_return readStatus(cli, run);
}

AccountBridge::Status AccountBridge::readStatus(CLI cli, const BridgeRun& run) {
    Status status{true, false, {}};
    if (cli == CLI::claude) {
        const std::optional<JSONValue> json = JSONValue::parse(run.out);
        if (!json || !json->isObject()) return status;
        const JSONValue* loggedIn = json->member(QStringLiteral("loggedIn"));
        const JSONValue* email = json->member(QStringLiteral("email"));
        const JSONValue* method = json->member(QStringLiteral("authMethod"));
        status.loggedIn = loggedIn && loggedIn->asBool().value_or(false);
        status.detail = email ? email->asString().value_or(QString()) : QString();
        if (method && method->asString().value_or(QString()).contains(QStringLiteral("console")))
            status.detail += QStringLiteral(" · Console (cobrado como API)");
        return status;
    }

    const QString text = (QString::fromUtf8(run.out) + QString::fromUtf8(run.err)).trimmed();
    status.loggedIn = run.status == 0 &&
                      text.contains(QStringLiteral("logged in"), Qt::CaseInsensitive) &&
                      !text.contains(QStringLiteral("not logged in"), Qt::CaseInsensitive);
    status.detail = text.contains(QStringLiteral("api key"), Qt::CaseInsensitive)
                        ? QStringLiteral("Chave de API (não é a assinatura)")
                        : QStringLiteral("Assinatura do ChatGPT");
    return status;
}

namespace {

// Login and logout: the tool does the work; a non-zero exit reports its last words.
QCoro::Task<> runAccountCommand(AccountBridge::CLI cli, QStringList args, double timeout) {
    const QString program = AccountBridge::executable(cli);
    if (program.isEmpty()) throw AccountBridge::BridgeError::notInstalled(cli);
    const BridgeRun run = co_await BridgeRunner::run(program, args, cli, std::nullopt, timeout);
    if (run.status != 0) throw AccountBridge::BridgeError::failed(cli, run.errorText());
}

} // namespace

QCoro::Task<> AccountBridge::login(CLI cli) {
    return runAccountCommand(cli,
                             cli == CLI::claude
                                 ? QStringList{QStringLiteral("auth"), QStringLiteral("login"),
                                               QStringLiteral("--claudeai")}
                                 : QStringList{QStringLiteral("login")},
                             loginTimeout);
}

QCoro::Task<> AccountBridge::logout(CLI cli) {
    return runAccountCommand(cli,
                             cli == CLI::claude
                                 ? QStringList{QStringLiteral("auth"), QStringLiteral("logout")}
                                 : QStringList{QStringLiteral("logout")},
                             logoutTimeout);
}

} // namespace nolvea
