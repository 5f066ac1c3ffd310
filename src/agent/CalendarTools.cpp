#include "agent/CalendarTools.h"

#include "agent/AgentDate.h"
#include "agent/CalendarStore.h"
#include "agent/Schema.h"
#include "agent/ToolError.h"

#include <QLocale>

#include <algorithm>
#include <map>
#include <set>

namespace nolvea::CalendarTools {

namespace {

const QString kGroup = QStringLiteral("Lembretes e Calendário");

std::optional<QDateTime> parsedArgument(const JSONValue& args, const QString& key) {
    if (auto text = args.optional(key)) return AgentDate::parse(*text);
    return std::nullopt;
}

// Only a JSON true counts.
bool allDay(const JSONValue& args) {
    const auto value = args[QStringLiteral("all_day")];
    return value && value->asBool().value_or(false);
}

CalendarStore remindersStore() {
    CalendarStore store;
    if (!store.hasAccess()) throw ToolError::denied(QStringLiteral("Sem acesso aos Lembretes."));
    return store;
}

CalendarStore eventsStore() {
    CalendarStore store;
    if (!store.hasAccess()) throw ToolError::denied(QStringLiteral("Sem acesso ao Calendário."));
    return store;
}

QString consultedCalendars(const QList<CalendarStore::Calendar>& calendars) {
    std::map<QString, QStringList> groups;
    for (const auto& c : calendars) groups[c.source.value_or(QStringLiteral("Local"))].append(c.title);
    QStringList texts;
    for (auto& [source, titles] : groups) {
        std::sort(titles.begin(), titles.end());
        texts.append(source + QStringLiteral(" (") + titles.join(QStringLiteral(", ")) + u')');
    }
    std::sort(texts.begin(), texts.end());
    return texts.isEmpty() ? QStringLiteral("nenhum") : texts.join(QStringLiteral("; "));
}

} // namespace

AgentTool createReminder() {
    AgentTool tool;
    tool.name = QStringLiteral("create_reminder");
    tool.description =
        QStringLiteral("Cria um lembrete no app Lembretes, opcionalmente com data/hora de alerta.");
    tool.parameters = Schema::object(
        {{"title", Schema::string(QStringLiteral(
                       "O que lembrar, curto e no infinitivo (ex.: \"Ligar para o dentista\")"))},
         {"due", Schema::string(QStringLiteral(
                     "Data/hora do alerta em ISO 8601 com fuso, ex.: 2026-10-01T09:00:00-03:00"))},
         {"notes", Schema::string(QStringLiteral("Observações opcionais"))}},
        {QStringLiteral("title")});
    tool.kind = AgentTool::Kind::action;
    tool.symbol = QStringLiteral("checklist");
    tool.progress = QStringLiteral("Criando lembrete…");
    tool.group = kGroup;
    tool.editableKey = QStringLiteral("title");
    tool.preview = [](const JSONValue& args) {
        ActionPreview p;
        p.symbol = QStringLiteral("checklist");
        p.title = QStringLiteral("Criar lembrete");
        p.details.append(args.optional(QStringLiteral("title")).value_or(QString()));
        if (auto due = parsedArgument(args, QStringLiteral("due")))
            p.details.append(AgentDate::describe(*due, false));
        if (auto notes = args.optional(QStringLiteral("notes"))) p.details.append(*notes);
        return p;
    };
    tool.run = [](JSONValue args) -> QCoro::Task<QString> {
        const CalendarStore store = remindersStore();
        CalendarStore::NewReminder reminder;
        reminder.title = args.required(QStringLiteral("title"));
        reminder.notes = args.optional(QStringLiteral("notes"));
        reminder.due = parsedArgument(args, QStringLiteral("due")); // unreadable: no due date
        store.add(reminder);
        co_return QStringLiteral("Lembrete criado");
    };
    return tool;
}

AgentTool listReminders() {
    AgentTool tool;
    tool.name = QStringLiteral("list_reminders");
    tool.description = QStringLiteral("Lista os lembretes pendentes (não concluídos).");
    tool.parameters = Schema::object({});
    tool.kind = AgentTool::Kind::read;
    tool.symbol = QStringLiteral("list.bullet");
    tool.progress = QStringLiteral("Lendo lembretes…");
    tool.group = kGroup;
    tool.preview = [](const JSONValue&) {
        ActionPreview p;
        p.symbol = QStringLiteral("list.bullet");
        p.title = QStringLiteral("Ler lembretes");
        return p;
    };
    tool.run = [](JSONValue) -> QCoro::Task<QString> {
        const auto reminders = remindersStore().pendingReminders();
        QStringList lines;
        for (const auto& r : reminders.mid(0, kReminderLimit)) {
            QString line = QStringLiteral("- ") + r.title;
            if (r.due) line += QStringLiteral(" (") + AgentDate::describe(*r.due, false) + u')';
            lines.append(line);
        }
        if (lines.isEmpty()) co_return QStringLiteral("Nenhum lembrete pendente.");
        co_return lines.join(u'\n');
    };
    return tool;
}

AgentTool createEvent() {
    AgentTool tool;
    tool.name = QStringLiteral("create_calendar_event");
    tool.description = QStringLiteral("Cria um evento no Calendário.");
    tool.parameters = Schema::object(
        {{"title", Schema::string(QStringLiteral("Título do evento"))},
         {"start", Schema::string(QStringLiteral("Início em ISO 8601 com fuso"))},
         {"end", Schema::string(
                     QStringLiteral("Fim em ISO 8601 com fuso (padrão: 1 hora depois do início)"))},
         {"location", Schema::string(QStringLiteral("Local (opcional)"))},
         {"notes", Schema::string(QStringLiteral("Notas (opcional)"))},
         {"all_day", Schema::boolean(QStringLiteral("Evento de dia inteiro"))}},
        {QStringLiteral("title"), QStringLiteral("start")});
    tool.kind = AgentTool::Kind::action;
    tool.symbol = QStringLiteral("calendar.badge.plus");
    tool.progress = QStringLiteral("Criando evento…");
    tool.group = kGroup;
    tool.editableKey = QStringLiteral("title");
    tool.preview = [](const JSONValue& args) {
        ActionPreview p;
        p.symbol = QStringLiteral("calendar.badge.plus");
        p.title = QStringLiteral("Criar evento");
        p.details.append(args.optional(QStringLiteral("title")).value_or(QString()));
        const bool wholeDay = allDay(args);
        if (auto start = parsedArgument(args, QStringLiteral("start"))) {
            QString when = AgentDate::describe(*start, wholeDay);
            if (!wholeDay)
                if (auto end = parsedArgument(args, QStringLiteral("end")))
                    when += QStringLiteral(" – ") +
                            QLocale().toString(end->toLocalTime(), QStringLiteral("HH:mm"));
            p.details.append(when);
        }
        if (auto location = args.optional(QStringLiteral("location")))
            p.details.append(QStringLiteral("📍 ") + *location);
        return p;
    };
    tool.run = [](JSONValue args) -> QCoro::Task<QString> {
        const CalendarStore store = eventsStore();
        const auto start = AgentDate::parse(args.required(QStringLiteral("start")));
        if (!start) throw ToolError::invalid(QStringLiteral("Data de início inválida."));
        CalendarStore::NewEvent event;
        event.title = args.required(QStringLiteral("title"));
        event.start = *start;
        event.end = parsedArgument(args, QStringLiteral("end")).value_or(start->addSecs(3600));
        event.allDay = allDay(args);
        event.location = args.optional(QStringLiteral("location"));
        event.notes = args.optional(QStringLiteral("notes"));
        store.add(event);
        co_return QStringLiteral("Evento criado");
    };
    return tool;
}

AgentTool listEvents() {
    AgentTool tool;
    tool.name = QStringLiteral("list_calendar_events");
    tool.description = QStringLiteral(
        "Lista os eventos do app Calendário do Mac (contas configuradas no macOS, ex.: iCloud) num "
        "intervalo de datas. Use para \"o que tenho amanhã?\", \"estou livre sexta?\". O resultado "
        "diz de quais contas/calendários veio.");
    tool.parameters =
        Schema::object({{"start", Schema::string(QStringLiteral("Início do intervalo, ISO 8601"))},
                        {"end", Schema::string(QStringLiteral("Fim do intervalo, ISO 8601"))}},
                       {QStringLiteral("start"), QStringLiteral("end")});
    tool.kind = AgentTool::Kind::read;
    tool.symbol = QStringLiteral("calendar");
    tool.progress = QStringLiteral("Consultando agenda…");
    tool.group = kGroup;
    tool.preview = [](const JSONValue&) {
        ActionPreview p;
        p.symbol = QStringLiteral("calendar");
        p.title = QStringLiteral("Ler agenda");
        return p;
    };
    tool.run = [](JSONValue args) -> QCoro::Task<QString> {
        const CalendarStore store = eventsStore();
        const auto start = AgentDate::parse(args.required(QStringLiteral("start")));
        if (!start) throw ToolError::invalid(QStringLiteral("Datas inválidas."));
        const auto end = AgentDate::parse(args.required(QStringLiteral("end")));
        if (!end) throw ToolError::invalid(QStringLiteral("Datas inválidas."));
        const QString header = QStringLiteral("Calendários consultados: ") +
                               consultedCalendars(store.calendars()) + u'.';
        const auto events = store.events(*start, *end);
        if (events.isEmpty()) co_return header + QStringLiteral("\nNenhum evento nesse período.");
        QStringList lines;
        for (const auto& e : events.mid(0, kEventLimit)) {
            QString line = QStringLiteral("- ") +
                           (e.title.isEmpty() ? QStringLiteral("(sem título)") : e.title) +
                           QStringLiteral(": ") + AgentDate::describe(e.start, e.allDay);
            if (!e.location.isEmpty()) line += QStringLiteral(" @ ") + e.location;
            line += QStringLiteral(" [") + e.calendar.source.value_or(QString()) +
                    QStringLiteral(" · ") + e.calendar.title + u']';
            lines.append(line);
        }
        co_return header + u'\n' + lines.join(u'\n');
    };
    return tool;
}

} // namespace nolvea::CalendarTools
