#include "ui/settings/AccountRowModel.h"

#include "support/Detached.h"
#include "support/Error.h"

#include <QPointer>

namespace nolvea {

AccountRowModel::AccountRowModel(AIProvider provider, std::function<void()> onChange,
                                 QObject* parent)
    : QObject(parent)
    , m_provider(provider)
    , m_onChange(std::move(onChange)) {}

AccountRowModel::CLI AccountRowModel::tool(AIProvider provider) {
    return provider == AIProvider::chatgptAccount ? CLI::codex : CLI::claude;
}

QString AccountRowModel::toolName(CLI cli) {
    return AccountBridge::name(cli);
}

QString AccountRowModel::installCommand(CLI cli) {
    return cli == CLI::codex ? QStringLiteral("npm install -g @openai/codex")
                             : QStringLiteral("curl -fsSL https://claude.ai/install.sh | bash");
}

QUrl AccountRowModel::installPage(CLI cli) {
    return cli == CLI::codex
               ? QUrl(QStringLiteral("https://github.com/openai/codex"))
               : QUrl(QStringLiteral("https://docs.anthropic.com/en/docs/claude-code/setup"));
}

void AccountRowModel::setProvider(AIProvider provider) {
    const bool otherTool = tool(provider) != tool(m_provider);
    m_provider = provider;
    if (!otherTool) return;
    ++m_toolRun;
    m_account.reset();
    m_busy.reset();
    m_error.reset();
    Q_EMIT changed();
    detach(reload(), QStringLiteral("Conta: estado"));
}

QString AccountRowModel::detail() const {
    if (!m_account) return QStringLiteral("Verificando…");
    if (!m_account->installed)
        return QStringLiteral("Precisa do ") + toolName(tool()) +
               QStringLiteral(" instalado neste Mac");
    if (!m_account->loggedIn) return QStringLiteral("Login pelo navegador, sem chave de API");
    if (m_account->detail.isEmpty()) return QStringLiteral("Conectado");
    return QStringLiteral("Conectado · ") + m_account->detail;
}

QString AccountRowModel::logoutMessage() const {
    return QStringLiteral("O ") + toolName(tool()) +
           QStringLiteral(" usa o mesmo login, então ele também será desconectado neste Mac.");
}

QCoro::Task<> AccountRowModel::reload() {
    QPointer<AccountRowModel> self(this);
    const quint64 run = m_toolRun;
    const AccountBridge::Status status = co_await AccountBridge::status(tool());
    if (!self || run != self->m_toolRun) co_return;
    self->m_account = status;
    Q_EMIT self->changed();
}

void AccountRowModel::login() {
    detach(run(true), QStringLiteral("Conta: entrar"));
}

void AccountRowModel::logout() {
    detach(run(false), QStringLiteral("Conta: sair"));
}

QCoro::Task<> AccountRowModel::run(bool signIn) {
    if (m_busy) co_return;
    QPointer<AccountRowModel> self(this);
    const quint64 run = m_toolRun;
    const CLI cli = tool();
    m_error.reset();
    m_busy = signIn ? QStringLiteral("Termine o login no navegador…") : QStringLiteral("Saindo…");
    Q_EMIT changed();
    std::optional<QString> failure;
    try {
        if (signIn)
            co_await AccountBridge::login(cli);
        else
            co_await AccountBridge::logout(cli);
    } catch (const std::exception& e) {
        failure = describe(e);
    }
    if (!self || run != self->m_toolRun) co_return;
    self->m_error = failure;
    self->m_busy.reset();
    Q_EMIT self->changed();
    co_await self->reload();
    if (!self || run != self->m_toolRun) co_return;
    if (self->m_onChange) self->m_onChange();
}

} // namespace nolvea
