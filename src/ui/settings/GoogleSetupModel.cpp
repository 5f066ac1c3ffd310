#include "ui/settings/GoogleSetupModel.h"

namespace nolvea::GoogleSetupModel {

const std::vector<Service>& services() {
    static const std::vector<Service> table{
        {QStringLiteral("drive"), QStringLiteral("Drive"), QStringLiteral("externaldrive.fill"),
         3500, std::nullopt},
        {QStringLiteral("docs"), QStringLiteral("Docs"), QStringLiteral("doc.text.fill"), 2000,
         std::nullopt},
        {QStringLiteral("sheets"), QStringLiteral("Planilhas"), QStringLiteral("tablecells.fill"),
         1400, std::nullopt},
        {QStringLiteral("tasks"), QStringLiteral("Tarefas"), QStringLiteral("checklist"), 1300,
         std::nullopt},
        {QStringLiteral("gmail"), QStringLiteral("Gmail"), QStringLiteral("envelope.fill"), 2000,
         QStringLiteral("Já funciona pelo app Mail se a conta Google estiver nele")},
        {QStringLiteral("calendar"), QStringLiteral("Agenda"), QStringLiteral("calendar"), 2800,
         QStringLiteral("Já funciona pelo Calendário do macOS se a conta estiver nele")},
        {QStringLiteral("contacts"), QStringLiteral("Contatos"), QStringLiteral("person.2.fill"),
         2800, QStringLiteral("Já funciona pelos Contatos do macOS")},
    };
    return table;
}

QSet<QString> defaultSelection() {
    return {QStringLiteral("drive"), QStringLiteral("docs"), QStringLiteral("sheets")};
}

QString clientIDSuffix() {
    return QStringLiteral(".apps.googleusercontent.com");
}

int totalTokens(const QSet<QString>& selected) {
    int total = 0;
    for (const Service& s : services())
        if (selected.contains(s.id)) total += s.tokens;
    return total;
}

QString estimate(int tokens) {
    return QStringLiteral("≈ %1,%2 mil tokens a mais no prompt do agente")
        .arg(tokens / 1000)
        .arg((tokens % 1000) / 100);
}

QString badge(int tokens) {
    return QString::number(tokens / 100 * 100) + QStringLiteral(" tk");
}

std::optional<QString> missing(const Form& form) {
    if (!form.email.trimmed().contains(u'@')) return QStringLiteral("Preencha sua conta Google");
    if (!form.clientID.trimmed().endsWith(clientIDSuffix()))
        return QStringLiteral("O ID do cliente termina em ") + clientIDSuffix();
    if (form.clientSecret.trimmed().size() < 10)
        return QStringLiteral("Cole a chave secreta do cliente");
    if (form.selected.isEmpty()) return QStringLiteral("Escolha ao menos um serviço");
    return std::nullopt;
}

QStringList selectedIDs(const QSet<QString>& selected) {
    QStringList ids;
    for (const Service& s : services())
        if (selected.contains(s.id)) ids << s.id;
    return ids;
}

Form loaded(const MCPServerConfig& entry, const QSet<QString>& current) {
    Form form;
    const QMap<QString, QString> env = entry.env.value_or(QMap<QString, QString>());
    form.clientID = env.value(QStringLiteral("GOOGLE_OAUTH_CLIENT_ID"));
    form.clientSecret = env.value(QStringLiteral("GOOGLE_OAUTH_CLIENT_SECRET"));
    form.email = env.value(QStringLiteral("USER_GOOGLE_EMAIL"));
    form.selected = current;
    if (!entry.args) return form;
    const QStringList& args = *entry.args;
    const qsizetype at = args.indexOf(QStringLiteral("--tools"));
    if (at < 0) return form;
    form.selected.clear();
    for (qsizetype i = at + 1; i < args.size() && !args[i].startsWith(QStringLiteral("--")); ++i)
        form.selected.insert(args[i]);
    return form;
}

} // namespace nolvea::GoogleSetupModel
