#include "agent/EmailTools.h"

#include "agent/ContactsLookup.h"
#include "agent/EmailDraft.h"
#include "agent/MailBackend.h"
#include "agent/Schema.h"
#include "agent/ToolError.h"

namespace nolvea::EmailTools {

namespace {

const QString kGroup = QStringLiteral("Pessoas e mensagens");

JSONValue stringList(const QString& description) {
    return JSONValue::object({{"type", "array"},
                              {"items", JSONValue::object({{"type", "string"}})},
                              {"description", description}});
}

QString firstNames(const std::vector<EmailRecipient>& recipients) {
    QStringList labels;
    for (const auto& r : recipients)
        labels.append(r.name.isEmpty() ? r.address : r.name.split(u' ').first());
    return labels.join(QStringLiteral(", "));
}

} // namespace

AgentTool sendEmail() {
    AgentTool tool;
    tool.name = QStringLiteral("send_email");
    tool.description = QStringLiteral(
        "Envia um e-mail pelo app Mail. Antes de enviar, a pessoa vê o e-mail completo num cartão, "
        "pode editar e confirma. Em \"to\" pode ir nome (o app procura nos Contatos) ou endereço.");
    tool.parameters = Schema::object(
        {{"to", stringList(QStringLiteral("Destinatários: nomes (\"Nadiro\") ou e-mails"))},
         {"cc", stringList(QStringLiteral("Cópia (opcional)"))},
         {"subject", Schema::string(QStringLiteral("Assunto"))},
         {"body", Schema::string(QStringLiteral("Corpo completo do e-mail, com saudação e despedida"))},
         {"reply_to_id", Schema::string(QStringLiteral(
                             "id de um e-mail recebido (de list_recent_emails), se for uma resposta"))}},
        {QStringLiteral("to"), QStringLiteral("subject"), QStringLiteral("body")});
    tool.kind = AgentTool::Kind::action;
    tool.symbol = QStringLiteral("envelope.fill");
    tool.progress = QStringLiteral("Enviando e-mail…");
    tool.group = kGroup;
    tool.alwaysConfirm = true;
    tool.preview = [](const JSONValue& args) {
        const EmailDraft draft = EmailDraft::fromArgs(args);
        ActionPreview p;
        p.symbol = QStringLiteral("envelope.fill");
        p.title = draft.replyToID ? QStringLiteral("Responder e-mail") : QStringLiteral("Novo e-mail");
        p.details.append(draft.subject);
        p.appName = QStringLiteral("Mail");
        p.email = draft;
        p.alternateLabel = QStringLiteral("Abrir no Mail");
        return p;
    };
    tool.run = [](JSONValue args) -> QCoro::Task<QString> {
        EmailDraft draft = EmailDraft::fromArgs(args);
        draft.to = co_await ContactsLookup::resolve(draft.to);
        draft.cc = co_await ContactsLookup::resolve(draft.cc);
        const auto openOnly = args[QStringLiteral("open_only")];
        if (openOnly && openOnly->asBool().value_or(false)) {
            co_await MailBackend::open(draft);
            co_return QStringLiteral("Rascunho aberto no Mail");
        }
        if (!draft.canSend()) {
            if (draft.to.empty()) throw ToolError::missing(QStringLiteral("to"));
            // Every recipient without an address is named, copy recipients too.
            QStringList labels;
            for (const auto* list : {&draft.to, &draft.cc})
                for (const auto& r : *list)
                    if (!r.isValid()) labels.append(r.name.isEmpty() ? r.address : r.name);
            throw ToolError::invalid(QStringLiteral("Sem e-mail válido para: ") +
                                     labels.join(QStringLiteral(", ")));
        }
        const auto delivery = co_await MailBackend::send(draft);
        if (delivery == MailBackend::Delivery::openedForSending)
            co_return QStringLiteral("Não há sendmail neste computador: o e-mail para %1 foi aberto "
                                     "no app de e-mail para ser enviado de lá.")
                .arg(firstNames(draft.to));
        co_return QStringLiteral("E-mail enviado para ") + firstNames(draft.to);
    };
    return tool;
}

AgentTool listRecentEmails() {
    AgentTool tool;
    tool.name = QStringLiteral("list_recent_emails");
    tool.description = QStringLiteral(
        "Lista e-mails recentes da caixa de entrada do Mail (id, remetente, assunto, data, trecho). "
        "Use para ler, resumir ou responder e-mails.");
    tool.parameters = Schema::object(
        {{"query", Schema::string(QStringLiteral("Filtra por remetente ou assunto (opcional)"))}});
    tool.kind = AgentTool::Kind::read;
    tool.symbol = QStringLiteral("tray.full.fill");
    tool.progress = QStringLiteral("Lendo e-mails…");
    tool.group = kGroup;
    tool.preview = [](const JSONValue& args) {
        ActionPreview p;
        p.symbol = QStringLiteral("tray.full.fill");
        p.title = QStringLiteral("Ler e-mails");
        p.details.append(args.optional(QStringLiteral("query")).value_or(QString()));
        return p;
    };
    tool.run = [](JSONValue args) -> QCoro::Task<QString> {
        const auto messages =
            co_await MailBackend::recent(args.optional(QStringLiteral("query")), kRecentLimit);
        if (messages.isEmpty()) co_return QStringLiteral("Nenhum e-mail encontrado.");
        QStringList entries;
        for (const auto& m : messages)
            entries.append(QStringLiteral("- id ") + m.id + QStringLiteral(" | de: ") + m.sender +
                           QStringLiteral(" | assunto: ") + m.subject + QStringLiteral(" | ") + m.date +
                           QStringLiteral("\n  ") + m.snippet);
        co_return entries.join(u'\n');
    };
    return tool;
}

} // namespace nolvea::EmailTools
