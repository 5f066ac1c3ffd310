#include "agent/tools/ContactTools.h"

#include "agent/ContactStore.h"
#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "agent/tools/ToolKit.h"
#include "support/OffThread.h"
#include "support/json/Schema.h"

namespace nolvea::ContactTools {

using namespace ToolKit;
using Kind = AgentTool::Kind;

namespace {

const QString kGroup = QStringLiteral("Pessoas e mensagens");

QString listed(const QStringList& items) {
    return items.isEmpty() ? QStringLiteral("—") : items.join(QStringLiteral(", "));
}

QCoro::Task<QString> lookUp(JSONValue args) {
    const QString name = requiredArgument(args, QStringLiteral("name"));
    const QString root = ContactStore::defaultRoot();
    // A named task: g++ 12 mishandles lambda temporaries inside a co_await expression.
    auto lookup = offThread([root, name] {
        const ContactStore store(root);
        if (!store.hasAccess()) throw ToolError::denied(QStringLiteral("Sem acesso aos Contatos."));
        return store.matching(name);
    });
    const auto found = co_await std::move(lookup);
    if (found.isEmpty())
        co_return QStringLiteral("Nenhum contato encontrado para \"%1\".").arg(name);
    QStringList lines;
    for (const auto& c : found.mid(0, kContactLimit))
        lines.append(QStringLiteral("- ") + c.givenName + u' ' + c.familyName +
                     QStringLiteral(" | telefones: ") + listed(c.phones) +
                     QStringLiteral(" | e-mails: ") + listed(c.emails));
    co_return lines.join(u'\n');
}

ActionPreview messageCard(const JSONValue& args) {
    const QString to = text(args, QStringLiteral("to"));
    ActionPreview p = preview(QStringLiteral("message.fill"),
                              QStringLiteral("Enviar mensagem para ") +
                                  args.optional(QStringLiteral("display_name")).value_or(to),
                              {to});
    p.appName = QStringLiteral("Mensagens");
    return p;
}

QCoro::Task<QString> refuseToSend(JSONValue args) {
    requiredArgument(args, QStringLiteral("to"));
    requiredArgument(args, QStringLiteral("text"));
    // There is no messaging service on this system to hand the text to.
    throw ToolError::failed(
        QStringLiteral("O envio de iMessage/SMS não está disponível neste computador: nenhuma "
                       "mensagem foi enviada."));
    co_return QString();
}

} // namespace

const AgentTool& findContact() {
    static const AgentTool tool{
        .name = "find_contact",
        .description =
            "Procura um contato pelo nome e devolve telefones e e-mails. Use antes de mandar "
            "iMessage para alguém citado pelo nome. Não use para e-mail: send_email já procura o "
            "endereço sozinho.",
        .parameters = Schema::object(
            {{"name", Schema::string("Nome (ou parte do nome) da pessoa")}}, {"name"}),
        .kind = Kind::read,
        .symbol = "person.crop.circle",
        .progress = "Procurando contato…",
        .group = kGroup,
        .preview =
            [](const JSONValue& args) {
                return preview("person.crop.circle", "Buscar contato", {text(args, "name")});
            },
        .run = lookUp,
    };
    return tool;
}

const AgentTool& sendMessage() {
    static const AgentTool tool{
        .name = "send_imessage",
        .description =
            "Envia uma mensagem pelo app Mensagens (iMessage/SMS). O destinatário deve ser "
            "telefone ou e-mail (use find_contact antes se tiver só o nome).",
        .parameters = Schema::object(
            {{"to", Schema::string("Telefone (com DDI, ex.: +5511999998888) ou e-mail")},
             {"text", Schema::string("Mensagem")},
             {"display_name", Schema::string("Nome da pessoa, para mostrar na confirmação")}},
            {"to", "text"}),
        .kind = Kind::action,
        .symbol = "message.fill",
        .progress = "Enviando mensagem…",
        .group = kGroup,
        .editableKey = "text",
        .preview = messageCard,
        .run = refuseToSend,
    };
    return tool;
}

} // namespace nolvea::ContactTools
