#include "agent/tools/EmailTools.h"

#include "agent/ContactsLookup.h"
#include "agent/MailBackend.h"
#include "agent/ToolError.h"
#include "agent/tools/ToolKit.h"
#include "core/EmailDraft.h"
#include "support/json/Schema.h"

namespace nolvea::EmailTools {

using namespace ToolKit;
using Kind = AgentTool::Kind;

namespace {

const QString kGroup = QStringLiteral("Pessoas e mensagens");

QString firstNames(const std::vector<EmailRecipient>& recipients) {
    QStringList labels;
    for (const auto& r : recipients)
        labels.append(r.name.isEmpty() ? r.address : r.name.split(u' ').first());
    return labels.join(QStringLiteral(", "));
}

ActionPreview draftCard(const JSONValue& args) {
    const EmailDraft draft = EmailDraft::fromArgs(args);
    ActionPreview p = preview(QStringLiteral("envelope.fill"),
                              draft.replyToID ? QStringLiteral("Responder e-mail")
                                              : QStringLiteral("Novo e-mail"),
                              {draft.subject});
    p.appName = QStringLiteral("Mail");
    p.email = draft;
    p.alternateLabel = QStringLiteral("Abrir no Mail");
    return p;
}

QCoro::Task<QString> send(JSONValue args) {
    EmailDraft draft = EmailDraft::fromArgs(args);
    draft.to = co_await ContactsLookup::resolve(draft.to);
    draft.cc = co_await ContactsLookup::resolve(draft.cc);
    if (isTrue(args, QStringLiteral("open_only"))) {
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
}

QCoro::Task<QString> listRecent(JSONValue args) {
    const auto messages =
        co_await MailBackend::recent(args.optional(QStringLiteral("query")), kRecentLimit);
    if (messages.isEmpty()) co_return QStringLiteral("Nenhum e-mail encontrado.");
    QStringList entries;
    for (const auto& m : messages)
        entries.append(QStringLiteral("- id ") + m.id + QStringLiteral(" | de: ") + m.sender +
                       QStringLiteral(" | assunto: ") + m.subject + QStringLiteral(" | ") + m.date +
                       QStringLiteral("\n  ") + m.snippet);
    co_return entries.join(u'\n');
}

} // namespace

const AgentTool& sendEmail() {
    static const AgentTool tool{
        .name = "send_email",
        .description =
            "Envia um e-mail pelo app Mail. Antes de enviar, a pessoa vê o e-mail completo num "
            "cartão, pode editar e confirma. Em \"to\" pode ir nome (o app procura nos Contatos) "
            "ou endereço.",
        .parameters = Schema::object(
            {{"to", stringArray("Destinatários: nomes (\"Nadiro\") ou e-mails")},
             {"cc", stringArray("Cópia (opcional)")},
             {"subject", Schema::string("Assunto")},
             {"body", Schema::string("Corpo completo do e-mail, com saudação e despedida")},
             {"reply_to_id", Schema::string("id de um e-mail recebido (de list_recent_emails), "
                                            "se for uma resposta")}},
            {"to", "subject", "body"}),
        .kind = Kind::action,
        .symbol = "envelope.fill",
        .progress = "Enviando e-mail…",
        .group = kGroup,
        .alwaysConfirm = true,
        .preview = draftCard,
        .run = send,
    };
    return tool;
}

const AgentTool& listRecentEmails() {
    static const AgentTool tool{
        .name = "list_recent_emails",
        .description =
            "Lista e-mails recentes da caixa de entrada do Mail (id, remetente, assunto, data, "
            "trecho). Use para ler, resumir ou responder e-mails.",
        .parameters = Schema::object(
            {{"query", Schema::string("Filtra por remetente ou assunto (opcional)")}}),
        .kind = Kind::read,
        .symbol = "tray.full.fill",
        .progress = "Lendo e-mails…",
        .group = kGroup,
        .preview =
            [](const JSONValue& args) {
                return preview("tray.full.fill", "Ler e-mails", {text(args, "query")});
            },
        .run = listRecent,
    };
    return tool;
}

} // namespace nolvea::EmailTools
