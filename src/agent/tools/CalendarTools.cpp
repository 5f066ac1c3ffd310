#include "agent/tools/CalendarTools.h"

#include "agent/AgentDate.h"
#include "agent/CalendarStore.h"
#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "agent/tools/ToolKit.h"
#include "support/json/Schema.h"

#include <QLocale>

#include <algorithm>
#include <map>
#include <set>

namespace nolvea::CalendarTools {

using namespace ToolKit;
using Kind = AgentTool::Kind;

namespace {

const QString kGroup = QStringLiteral("Lembretes e Calendário");

std::optional<QDateTime> parsedArgument(const JSONValue& args, const QString& key) {
    if (auto text = args.optional(key)) return AgentDate::parse(*text);
    return std::nullopt;
}

bool allDay(const JSONValue& args) {
    return isTrue(args, QStringLiteral("all_day"));
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
    for (const auto& c : calendars)
        groups[c.source.value_or(QStringLiteral("Local"))].append(c.title);
    QStringList texts;
    for (auto& [source, titles] : groups) {
        std::sort(titles.begin(), titles.end());
        texts.append(source + QStringLiteral(" (") + titles.join(QStringLiteral(", ")) + u')');
    }
    std::sort(texts.begin(), texts.end());
    return texts.isEmpty() ? QStringLiteral("nenhum") : texts.join(QStringLiteral("; "));
}

} // namespace

ActionPreview reminderCard(const JSONValue& args) {
    QStringList details{text(args, QStringLiteral("title"))};
    if (auto due = parsedArgument(args, QStringLiteral("due")))
        details.append(AgentDate::describe(*due, false));
    if (auto notes = args.optional(QStringLiteral("notes"))) details.append(*notes);
    return preview(QStringLiteral("checklist"), QStringLiteral("Criar lembrete"), details);
}

ActionPreview eventCard(const JSONValue& args) {
    QStringList details{text(args, QStringLiteral("title"))};
    const bool wholeDay = allDay(args);
    if (auto start = parsedArgument(args, QStringLiteral("start"))) {
        QString when = AgentDate::describe(*start, wholeDay);
        // The end's time of day in the person's own locale and time zone.
        if (!wholeDay)
            if (auto end = parsedArgument(args, QStringLiteral("end")))
                when += QStringLiteral(" – ") +
                        QLocale().toString(end->toLocalTime(), QStringLiteral("HH:mm"));
        details.append(when);
    }
    if (auto location = args.optional(QStringLiteral("location")))
        details.append(QStringLiteral("📍 ") + *location);
    return preview(QStringLiteral("calendar.badge.plus"), QStringLiteral("Criar evento"), details);
}

namespace {

QCoro::Task<QString> addReminder(JSONValue args) {
    const CalendarStore store = remindersStore();
    CalendarStore::NewReminder reminder;
    reminder.title = requiredArgument(args, QStringLiteral("title"));
    reminder.notes = args.optional(QStringLiteral("notes"));
    reminder.due = parsedArgument(args, QStringLiteral("due")); // unreadable: no due date
    if (auto error = store.add(reminder)) throw *error;
    co_return QStringLiteral("Lembrete criado");
}

QCoro::Task<QString> pendingReminders(JSONValue) {
    const auto reminders = remindersStore().pendingReminders();
    QStringList lines;
    for (const auto& r : reminders.mid(0, kReminderLimit)) {
        QString line = QStringLiteral("- ") + r.title;
        if (r.due) line += QStringLiteral(" (") + AgentDate::describe(*r.due, false) + u')';
        lines.append(line);
    }
    if (lines.isEmpty()) co_return QStringLiteral("Nenhum lembrete pendente.");
    co_return lines.join(u'\n');
}

QCoro::Task<QString> addEvent(JSONValue args) {
    const CalendarStore store = eventsStore();
    const auto start = AgentDate::parse(requiredArgument(args, QStringLiteral("start")));
    if (!start) throw ToolError::invalid(QStringLiteral("Data de início inválida."));
    CalendarStore::NewEvent event;
    event.title = requiredArgument(args, QStringLiteral("title"));
    event.start = *start;
    event.end = parsedArgument(args, QStringLiteral("end")).value_or(start->addSecs(3600));
    event.allDay = allDay(args);
    event.location = args.optional(QStringLiteral("location"));
    event.notes = args.optional(QStringLiteral("notes"));
    if (auto error = store.add(event)) throw *error;
    co_return QStringLiteral("Evento criado");
}

QCoro::Task<QString> eventsBetween(JSONValue args) {
    const CalendarStore store = eventsStore();
    const auto start = AgentDate::parse(requiredArgument(args, QStringLiteral("start")));
    if (!start) throw ToolError::invalid(QStringLiteral("Datas inválidas."));
    const auto end = AgentDate::parse(requiredArgument(args, QStringLiteral("end")));
    if (!end) throw ToolError::invalid(QStringLiteral("Datas inválidas."));
    const QString header =
        QStringLiteral("Calendários consultados: ") + consultedCalendars(store.calendars()) + u'.';
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
}

} // namespace

const AgentTool& createReminder() {
    static const AgentTool tool{
        .name = "create_reminder",
        .description = "Cria um lembrete no app Lembretes, opcionalmente com data/hora de alerta.",
        .parameters = Schema::object(
            {{"title", Schema::string("O que lembrar, curto e no infinitivo (ex.: \"Ligar para "
                                      "o dentista\")")},
             {"due", Schema::string("Data/hora do alerta em ISO 8601 com fuso, ex.: "
                                    "2026-10-01T09:00:00-03:00")},
             {"notes", Schema::string("Observações opcionais")}},
            {"title"}),
        .kind = Kind::action,
        .symbol = "checklist",
        .progress = "Criando lembrete…",
        .group = kGroup,
        .editableKey = "title",
        .preview = reminderCard,
        .run = addReminder,
    };
    return tool;
}

const AgentTool& listReminders() {
    static const AgentTool tool{
        .name = "list_reminders",
        .description = "Lista os lembretes pendentes (não concluídos).",
        .parameters = Schema::object({}),
        .kind = Kind::read,
        .symbol = "list.bullet",
        .progress = "Lendo lembretes…",
        .group = kGroup,
        .preview = [](const JSONValue&) { return preview("list.bullet", "Ler lembretes"); },
        .run = pendingReminders,
    };
    return tool;
}

const AgentTool& createEvent() {
    static const AgentTool tool{
        .name = "create_calendar_event",
        .description = "Cria um evento no Calendário.",
        .parameters = Schema::object(
            {{"title", Schema::string("Título do evento")},
             {"start", Schema::string("Início em ISO 8601 com fuso")},
             {"end", Schema::string("Fim em ISO 8601 com fuso (padrão: 1 hora depois do início)")},
             {"location", Schema::string("Local (opcional)")},
             {"notes", Schema::string("Notas (opcional)")},
             {"all_day", Schema::boolean("Evento de dia inteiro")}},
            {"title", "start"}),
        .kind = Kind::action,
        .symbol = "calendar.badge.plus",
        .progress = "Criando evento…",
        .group = kGroup,
        .editableKey = "title",
        .preview = eventCard,
        .run = addEvent,
    };
    return tool;
}

const AgentTool& listEvents() {
    static const AgentTool tool{
        .name = "list_calendar_events",
        .description =
            "Lista os eventos do app Calendário do Mac (contas configuradas no macOS, ex.: iCloud) "
            "num intervalo de datas. Use para \"o que tenho amanhã?\", \"estou livre sexta?\". O "
            "resultado diz de quais contas/calendários veio.",
        .parameters = Schema::object({{"start", Schema::string("Início do intervalo, ISO 8601")},
                                      {"end", Schema::string("Fim do intervalo, ISO 8601")}},
                                     {"start", "end"}),
        .kind = Kind::read,
        .symbol = "calendar",
        .progress = "Consultando agenda…",
        .group = kGroup,
        .preview = [](const JSONValue&) { return preview("calendar", "Ler agenda"); },
        .run = eventsBetween,
    };
    return tool;
}

} // namespace nolvea::CalendarTools
