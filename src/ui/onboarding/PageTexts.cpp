#include "ui/onboarding/PageTexts.h"

#include "ui/onboarding/HotkeyTest.h"
#include "ui/onboarding/OnboardingFlow.h"

namespace nolvea::PageTexts {

QString finalGreeting(const QString& storedName, const QString& suggestedName) {
    const QString name = storedName.isEmpty() ? suggestedName : storedName;
    if (name.isEmpty()) return QStringLiteral("Olá!");
    return QStringLiteral("Olá, ") + name + QStringLiteral(".");
}

const QStringList& greetings() {
    static const QStringList words{
        "Olá", "Hello", "Hola", "Bonjour", "Ciao", "Hallo", QStringLiteral("こんにちは")};
    return words;
}

QString nameGreeting(const QString& userName) {
    const QString trimmed = OnboardingFlow::trimmedName(userName);
    if (trimmed.isEmpty()) return QStringLiteral("Oi! Você tem 2 e-mails novos.");
    return QStringLiteral("Oi, ") + trimmed + QStringLiteral("! Você tem 2 e-mails novos.");
}

std::optional<QString> fnWarning(HotkeyChoice hotkey, std::optional<int> fnUsage) {
    if (hotkey != HotkeyChoice::fn || !fnUsage || *fnUsage == 0) return std::nullopt;
    QString action;
    switch (*fnUsage) {
    case 1:
        action = QStringLiteral("trocar a fonte de entrada");
        break;
    case 2:
        action = QStringLiteral("mostrar emojis e símbolos");
        break;
    case 3:
        action = QStringLiteral("iniciar o ditado da Apple");
        break;
    default:
        action = QStringLiteral("um atalho do sistema");
    }
    return QStringLiteral("A tecla 🌐 está configurada para **") + action +
           QStringLiteral("**. Em Teclado, mude “Pressionar tecla 🌐 para” para **Não fazer "
                          "nada**.");
}

QString waitingText(bool fullCalendarAccess) {
    return fullCalendarAccess
               ? QStringLiteral("Nos Ajustes, clique em Adicionar Conta › Google. Fico esperando…")
               : QStringLiteral("Permita o acesso ao Calendário para a Nolvea enxergar a conta.");
}

QList<MarkdownRun> credentialsStep(const std::optional<QString>& recentFileName) {
    if (!recentFileName)
        return {MarkdownRun{QStringLiteral("Importe o arquivo client_secret_….json baixado.")}};
    return {MarkdownRun{QStringLiteral("Encontrei ")}, MarkdownRun{*recentFileName, true},
            MarkdownRun{QStringLiteral(" nos Downloads.")}};
}

QString credentialsButton(bool hasRecentFile) {
    return hasRecentFile ? QStringLiteral("Usar este") : QStringLiteral("Importar .json");
}

bool canImport(const QString& email) {
    return email.contains(u'@');
}

QString doneTitle(const QString& storedName) {
    if (storedName.isEmpty()) return QStringLiteral("Tudo pronto.");
    return QStringLiteral("Tudo pronto, ") + storedName + QStringLiteral(".");
}

std::vector<Tile> summary(const DoneFacts& f) {
    std::vector<Tile> tiles;
    tiles.push_back({QStringLiteral("Tecla"), HotkeyTest::label(f.hotkey), true});
    const bool online = f.connection == AIConnection::online;
    tiles.push_back({QStringLiteral("IA"),
                     online ? f.provider.label() + QStringLiteral(" · ") + f.model
                            : QStringLiteral("Configure em Ajustes › IA"),
                     online});
    tiles.push_back({QStringLiteral("Permissões"),
                     f.grantedCount == 3 ? QStringLiteral("Todas permitidas")
                                         : QString::number(f.grantedCount) +
                                               QStringLiteral(" de 3 · faltam no menu"),
                     f.grantedCount == 3});
    Tile google{QStringLiteral("Google"), QStringLiteral("Não conectado"), false};
    if (!f.googleAccounts.isEmpty())
        google = {google.title, f.googleAccounts.first(), true};
    else if (f.unnamedAccount)
        google = {google.title, QStringLiteral("Conectado"), true};
    else if (f.workspaceServer)
        google = {google.title, QStringLiteral("Drive e Docs"), true};
    tiles.push_back(google);
    return tiles;
}

QString tryItDetail(HotkeyChoice hotkey) {
    return QStringLiteral("Em qualquer app, segure ") + HotkeyTest::glyph(hotkey) +
           QStringLiteral(" + ⌃ e pergunte: “que dia é hoje?”");
}

} // namespace nolvea::PageTexts
