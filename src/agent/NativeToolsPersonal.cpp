// The records of the calendar, contact, message, e-mail and screen tools.
#include "agent/AgentDate.h"
#include "agent/EmailDraft.h"
#include "agent/NativeToolKit.h"
#include "agent/NativeTools.h"
#include "agent/PersonalToolRuns.h"
#include "agent/Schema.h"

#include <QLocale>

namespace nolvea::NativeTools {

using namespace NativeToolKit;
using Kind = AgentTool::Kind;

namespace {

const QString kCalendarGroup = QStringLiteral("Lembretes e Calendário");
const QString kPeopleGroup = QStringLiteral("Pessoas e mensagens");

AgentTool record(QString name, QString description, JSONValue parameters, Kind kind, QString symbol,
                 QString progress, QString group,
                 std::function<QCoro::Task<QString>(JSONValue)> run) {
    AgentTool t;
    t.name = std::move(name);
    t.description = std::move(description);
    t.parameters = std::move(parameters);
    t.kind = kind;
    t.symbol = std::move(symbol);
    t.progress = std::move(progress);
    t.group = std::move(group);
    t.run = std::move(run);
    return t;
}

JSONValue stringArray(const QString& description) {
    return JSONValue::object({{"type", "array"},
                              {"items", JSONValue::object({{"type", "string"}})},
                              {"description", description}});
}

bool isTrue(const JSONValue& args, const QString& key) {
    const auto value = args[key];
    return value && value->asBool() == true;
}

} // namespace

const AgentTool& createReminder() {
    static const AgentTool tool = [] {
        AgentTool t = record(
            "create_reminder",
            "Cria um lembrete no app Lembretes, opcionalmente com data/hora de alerta.",
            Schema::object(
                {{"title", Schema::string("O que lembrar, curto e no infinitivo (ex.: \"Ligar "
                                          "para o dentista\")")},
                 {"due", Schema::string("Data/hora do alerta em ISO 8601 com fuso, ex.: "
                                        "2026-10-01T09:00:00-03:00")},
                 {"notes", Schema::string("Observações opcionais")}},
                {"title"}),
            Kind::action, "checklist", "Criando lembrete…", kCalendarGroup,
            PersonalToolRuns::createReminder);
        t.editableKey = "title";
        t.preview = [](const JSONValue& args) {
            QStringList details{text(args, "title")};
            if (const auto due = args.optional("due"))
                if (const auto date = AgentDate::parse(*due))
                    details << AgentDate::describe(*date, false);
            if (const auto notes = args.optional("notes")) details << *notes;
            return preview("checklist", "Criar lembrete", details);
        };
        return t;
    }();
    return tool;
}

const AgentTool& listReminders() {
    static const AgentTool tool = [] {
        AgentTool t = record("list_reminders", "Lista os lembretes pendentes (não concluídos).",
                             Schema::object({}, {}), Kind::read, "list.bullet", "Lendo lembretes…",
                             kCalendarGroup, PersonalToolRuns::listReminders);
        t.preview = [](const JSONValue&) { return preview("list.bullet", "Ler lembretes"); };
        return t;
    }();
    return tool;
}

const AgentTool& createEvent() {
    static const AgentTool tool = [] {
        AgentTool t =
            record("create_calendar_event", "Cria um evento no Calendário.",
                   Schema::object(
                       {{"title", Schema::string("Título do evento")},
                        {"start", Schema::string("Início em ISO 8601 com fuso")},
                        {"end", Schema::string("Fim em ISO 8601 com fuso (padrão: 1 hora depois do "
                                               "início)")},
                        {"location", Schema::string("Local (opcional)")},
                        {"notes", Schema::string("Notas (opcional)")},
                        {"all_day", Schema::boolean("Evento de dia inteiro")}},
                       {"title", "start"}),
                   Kind::action, "calendar.badge.plus", "Criando evento…", kCalendarGroup,
                   PersonalToolRuns::createEvent);
        t.editableKey = "title";
        t.preview = [](const JSONValue& args) {
            QStringList details{text(args, "title")};
            const bool allDay = isTrue(args, "all_day");
            if (const auto start = args.optional("start")) {
                if (const auto date = AgentDate::parse(*start)) {
                    QString line = AgentDate::describe(*date, allDay);
                    if (!allDay)
                        if (const auto endText = args.optional("end"))
                            if (const auto end = AgentDate::parse(*endText))
                                line += QStringLiteral(" – ") +
                                        end->toLocalTime().toString(QStringLiteral("HH:mm"));
                    details << line;
                }
            }
            if (const auto location = args.optional("location"))
                details << QStringLiteral("📍 ") + *location;
            return preview("calendar.badge.plus", "Criar evento", details);
        };
        return t;
    }();
    return tool;
}

const AgentTool& listEvents() {
    static const AgentTool tool = [] {
        AgentTool t = record(
            "list_calendar_events",
            "Lista os eventos do app Calendário do Mac (contas configuradas no macOS, ex.: iCloud) "
            "num intervalo de datas. Use para \"o que tenho amanhã?\", \"estou livre sexta?\". O "
            "resultado diz de quais contas/calendários veio.",
            Schema::object({{"start", Schema::string("Início do intervalo, ISO 8601")},
                            {"end", Schema::string("Fim do intervalo, ISO 8601")}},
                           {"start", "end"}),
            Kind::read, "calendar", "Consultando agenda…", kCalendarGroup,
            PersonalToolRuns::listEvents);
        t.preview = [](const JSONValue&) { return preview("calendar", "Ler agenda"); };
        return t;
    }();
    return tool;
}

const AgentTool& findContact() {
    static const AgentTool tool = [] {
        AgentTool t = record(
            "find_contact",
            "Procura um contato pelo nome e devolve telefones e e-mails. Use antes de mandar "
            "iMessage para alguém citado pelo nome. Não use para e-mail: send_email já procura o "
            "endereço sozinho.",
            Schema::object({{"name", Schema::string("Nome (ou parte do nome) da pessoa")}},
                           {"name"}),
            Kind::read, "person.crop.circle", "Procurando contato…", kPeopleGroup,
            PersonalToolRuns::findContact);
        t.preview = [](const JSONValue& args) {
            return preview("person.crop.circle", "Buscar contato", {text(args, "name")});
        };
        return t;
    }();
    return tool;
}

const AgentTool& sendMessage() {
    static const AgentTool tool = [] {
        AgentTool t = record(
            "send_imessage",
            "Envia uma mensagem pelo app Mensagens (iMessage/SMS). O destinatário deve ser "
            "telefone ou e-mail (use find_contact antes se tiver só o nome).",
            Schema::object(
                {{"to", Schema::string("Telefone (com DDI, ex.: +5511999998888) ou e-mail")},
                 {"text", Schema::string("Mensagem")},
                 {"display_name", Schema::string("Nome da pessoa, para mostrar na confirmação")}},
                {"to", "text"}),
            Kind::action, "message.fill", "Enviando mensagem…", kPeopleGroup,
            PersonalToolRuns::sendMessage);
        t.editableKey = "text";
        t.preview = [](const JSONValue& args) {
            const QString who =
                args.optional("display_name").value_or(args.optional("to").value_or(QString()));
            ActionPreview p =
                preview("message.fill", "Enviar mensagem para " + who, {text(args, "to")});
            p.appName = QStringLiteral("Mensagens");
            return p;
        };
        return t;
    }();
    return tool;
}

const AgentTool& sendEmail() {
    static const AgentTool tool = [] {
        AgentTool t = record(
            "send_email",
            "Envia um e-mail pelo app Mail. Antes de enviar, a pessoa vê o e-mail completo num "
            "cartão, pode editar e confirma. Em \"to\" pode ir nome (o app procura nos Contatos) "
            "ou endereço.",
            Schema::object(
                {{"to", stringArray("Destinatários: nomes (\"Nadiro\") ou e-mails")},
                 {"cc", stringArray("Cópia (opcional)")},
                 {"subject", Schema::string("Assunto")},
                 {"body", Schema::string("Corpo completo do e-mail, com saudação e despedida")},
                 {"reply_to_id", Schema::string("id de um e-mail recebido (de list_recent_emails), "
                                                "se for uma resposta")}},
                {"to", "subject", "body"}),
            Kind::action, "envelope.fill", "Enviando e-mail…", kPeopleGroup,
            PersonalToolRuns::sendEmail);
        t.alwaysConfirm = true;
        t.preview = [](const JSONValue& args) {
            const EmailDraft draft = EmailDraft::fromArgs(args);
            ActionPreview p =
                preview("envelope.fill", draft.replyToID ? "Responder e-mail" : "Novo e-mail",
                        {draft.subject});
            p.appName = QStringLiteral("Mail");
            p.email = draft;
            p.alternateLabel = QStringLiteral("Abrir no Mail");
            return p;
        };
        return t;
    }();
    return tool;
}

const AgentTool& listRecentEmails() {
    static const AgentTool tool = [] {
        AgentTool t = record(
            "list_recent_emails",
            "Lista e-mails recentes da caixa de entrada do Mail (id, remetente, assunto, data, "
            "trecho). Use para ler, resumir ou responder e-mails.",
            Schema::object(
                {{"query", Schema::string("Filtra por remetente ou assunto (opcional)")}}, {}),
            Kind::read, "tray.full.fill", "Lendo e-mails…", kPeopleGroup,
            PersonalToolRuns::listRecentEmails);
        t.preview = [](const JSONValue& args) {
            return preview("tray.full.fill", "Ler e-mails", {text(args, "query")});
        };
        return t;
    }();
    return tool;
}

const AgentTool& lookAtScreen() {
    static const AgentTool tool = [] {
        AgentTool t = record(
            "look_at_screen",
            "Olha a tela onde está o mouse e responde uma pergunta sobre o que aparece nela (o que "
            "a pessoa está vendo, um erro, um gráfico, uma imagem).",
            Schema::object({{"question", Schema::string("O que descobrir na tela")}}, {"question"}),
            Kind::read, "eye", "Olhando a tela…", "Tela", PersonalToolRuns::lookAtScreen);
        t.preview = [](const JSONValue& args) {
            return preview("eye", "Olhar a tela", {text(args, "question")});
        };
        return t;
    }();
    return tool;
}

} // namespace nolvea::NativeTools
