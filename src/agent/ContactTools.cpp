#include "agent/ContactTools.h"

#include "agent/ContactStore.h"
#include "agent/RunLookup.h"
#include "agent/Schema.h"
#include "agent/ToolError.h"

namespace nolvea::ContactTools {

namespace {

const QString kGroup = QStringLiteral("Pessoas e mensagens");

QString listed(const QStringList& items) {
    return items.isEmpty() ? QStringLiteral("—") : items.join(QStringLiteral(", "));
}

} // namespace

AgentTool findContact() {
    AgentTool tool;
    tool.name = QStringLiteral("find_contact");
    tool.description = QStringLiteral(
        "Procura um contato pelo nome e devolve telefones e e-mails. Use antes de mandar iMessage "
        "para alguém citado pelo nome. Não use para e-mail: send_email já procura o endereço "
        "sozinho.");
    tool.parameters = Schema::object(
        {{"name", Schema::string(QStringLiteral("Nome (ou parte do nome) da pessoa"))}},
        {QStringLiteral("name")});
    tool.kind = AgentTool::Kind::read;
    tool.symbol = QStringLiteral("person.crop.circle");
    tool.progress = QStringLiteral("Procurando contato…");
    tool.group = kGroup;
    tool.preview = [](const JSONValue& args) {
        ActionPreview p;
        p.symbol = QStringLiteral("person.crop.circle");
        p.title = QStringLiteral("Buscar contato");
        p.details.append(args.optional(QStringLiteral("name")).value_or(QString()));
        return p;
    };
    tool.run = [](JSONValue args) -> QCoro::Task<QString> {
        const QString name = args.required(QStringLiteral("name"));
        const QString root = ContactStore::defaultRoot();
        const auto found = runLookup([root, name] {
            const ContactStore store(root);
            if (!store.hasAccess())
                throw ToolError::denied(QStringLiteral("Sem acesso aos Contatos."));
            return store.matching(name);
        });
        if (found.isEmpty())
            co_return QStringLiteral("Nenhum contato encontrado para \"%1\".").arg(name);
        QStringList lines;
        for (const auto& c : found.mid(0, kContactLimit))
            lines.append(QStringLiteral("- ") + c.givenName + u' ' + c.familyName +
                         QStringLiteral(" | telefones: ") + listed(c.phones) +
                         QStringLiteral(" | e-mails: ") + listed(c.emails));
        co_return lines.join(u'\n');
    };
    return tool;
}

AgentTool sendMessage() {
    AgentTool tool;
    tool.name = QStringLiteral("send_imessage");
    tool.description = QStringLiteral(
        "Envia uma mensagem pelo app Mensagens (iMessage/SMS). O destinatário deve ser telefone ou "
        "e-mail (use find_contact antes se tiver só o nome).");
    tool.parameters = Schema::object(
        {{"to",
          Schema::string(QStringLiteral("Telefone (com DDI, ex.: +5511999998888) ou e-mail"))},
         {"text", Schema::string(QStringLiteral("Mensagem"))},
         {"display_name",
          Schema::string(QStringLiteral("Nome da pessoa, para mostrar na confirmação"))}},
        {QStringLiteral("to"), QStringLiteral("text")});
    tool.kind = AgentTool::Kind::action;
    tool.symbol = QStringLiteral("message.fill");
    tool.progress = QStringLiteral("Enviando mensagem…");
    tool.group = kGroup;
    tool.editableKey = QStringLiteral("text");
    tool.preview = [](const JSONValue& args) {
        ActionPreview p;
        p.symbol = QStringLiteral("message.fill");
        const auto to = args.optional(QStringLiteral("to"));
        p.title = QStringLiteral("Enviar mensagem para ") +
                  args.optional(QStringLiteral("display_name")).value_or(to.value_or(QString()));
        p.details.append(to.value_or(QString()));
        p.appName = QStringLiteral("Mensagens");
        return p;
    };
    tool.run = [](JSONValue args) -> QCoro::Task<QString> {
        args.required(QStringLiteral("to"));
        args.required(QStringLiteral("text"));
        // There is no messaging service on this system to hand the text to.
        throw ToolError::failed(QStringLiteral(
            "O envio de iMessage/SMS não está disponível neste computador: nenhuma mensagem foi "
            "enviada."));
        co_return QString();
    };
    return tool;
}

} // namespace nolvea::ContactTools
