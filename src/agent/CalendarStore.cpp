#include "agent/CalendarStore.h"

#include "agent/ICalendar.h"
#include "agent/Recurrence.h"
#include "agent/ToolError.h"
#include "core/AppPaths.h"
#include "support/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>

namespace nolvea {

namespace {

QList<QFileInfo> icsFiles(const QString& folder) {
    return QDir(folder).entryInfoList({QStringLiteral("*.ics")}, QDir::Files | QDir::Readable,
                                      QDir::Name);
}

QList<ICalendar::Component> itemsIn(const QFileInfo& file, const QString& kind) {
    QFile f(file.filePath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    QList<ICalendar::Component> items;
    for (const auto& top : ICalendar::parse(f.readAll())) {
        if (top.name == kind) items.append(top);
        for (const auto* child : top.all(kind))
            items.append(*child);
    }
    return items;
}

QList<QDateTime> exclusions(const ICalendar::Component& c) {
    QList<QDateTime> out;
    for (const auto& p : c.properties) {
        if (p.name != QLatin1String("EXDATE")) continue;
        for (const QString& v : p.value.split(u',', Qt::SkipEmptyParts)) {
            auto single = p;
            single.value = v;
            if (auto t = ICalendar::time(single)) out.append(t->at);
        }
    }
    return out;
}

QByteArray calendarFile(const QList<QString>& lines) {
    QByteArray out = ICalendar::line(QStringLiteral("BEGIN:VCALENDAR")) +
                     ICalendar::line(QStringLiteral("VERSION:2.0")) +
                     ICalendar::line(QStringLiteral("PRODID:-//Falantorix//Nolvea//PT"));
    for (const QString& l : lines)
        out += ICalendar::line(l);
    return out + ICalendar::line(QStringLiteral("END:VCALENDAR"));
}

} // namespace

QString CalendarStore::defaultRoot() {
    return AppPaths::file(QStringLiteral("calendarios"));
}

CalendarStore::CalendarStore(QString root)
    : m_root(std::move(root)) {}

bool CalendarStore::hasAccess() const {
    if (!QDir().mkpath(m_root)) return false;
    const QFileInfo info(m_root);
    return info.isDir() && info.isReadable() && info.isWritable();
}

QList<CalendarStore::Calendar> CalendarStore::calendars() const {
    auto calendarAt = [](const QString& path, std::optional<QString> source) {
        QString title = QFileInfo(path).fileName();
        QFile name(path + QStringLiteral("/displayname"));
        if (name.open(QIODevice::ReadOnly)) {
            const QString given = QString::fromUtf8(name.readAll()).trimmed();
            if (!given.isEmpty()) title = given;
        }
        return Calendar{path, title, std::move(source)};
    };
    QList<Calendar> found;
    const auto filter = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable;
    for (const QFileInfo& top : QDir(m_root).entryInfoList(filter, QDir::Name)) {
        const auto inner = QDir(top.filePath()).entryInfoList(filter, QDir::Name);
        if (inner.isEmpty()) {
            found.append(calendarAt(top.filePath(), std::nullopt));
            continue;
        }
        for (const QFileInfo& cal : inner)
            found.append(calendarAt(cal.filePath(), top.fileName()));
    }
    return found;
}

QList<CalendarStore::Event> CalendarStore::events(const QDateTime& from,
                                                  const QDateTime& to) const {
    QList<Event> out;
    for (const Calendar& calendar : calendars()) {
        for (const QFileInfo& file : icsFiles(calendar.path)) {
            for (const auto& item : itemsIn(file, QStringLiteral("VEVENT"))) {
                // Changed single occurrences of a series are not split out.
                if (item.property(QStringLiteral("RECURRENCE-ID"))) continue;
                const auto* startProp = item.property(QStringLiteral("DTSTART"));
                if (!startProp) continue;
                const auto start = ICalendar::time(*startProp);
                if (!start) continue;
                qint64 length = start->allDay ? 86400 : 0;
                if (const auto* endProp = item.property(QStringLiteral("DTEND"))) {
                    if (auto end = ICalendar::time(*endProp)) length = start->at.secsTo(end->at);
                } else if (const auto* d = item.property(QStringLiteral("DURATION"))) {
                    if (auto seconds = ICalendar::durationSeconds(d->value)) length = *seconds;
                }
                length = std::max<qint64>(length, 0);
                QList<QDateTime> starts;
                if (const auto* rule = item.property(QStringLiteral("RRULE"))) {
                    starts = Recurrence::starts(start->at, length, rule->value, exclusions(item),
                                                from, to);
                } else {
                    const QDateTime end = start->at.addSecs(std::max<qint64>(length, 1));
                    if (start->at < to && end > from) starts.append(start->at);
                }
                for (const QDateTime& at : starts)
                    out.append(Event{item.text(QStringLiteral("SUMMARY")), at, at.addSecs(length),
                                     start->allDay, item.text(QStringLiteral("LOCATION")),
                                     calendar});
            }
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Event& a, const Event& b) { return a.start < b.start; });
    return out;
}

QList<CalendarStore::Reminder> CalendarStore::pendingReminders() const {
    struct Found {
        QString created;
        Reminder reminder;
    };
    QList<Found> found;
    for (const Calendar& calendar : calendars()) {
        for (const QFileInfo& file : icsFiles(calendar.path)) {
            for (const auto& item : itemsIn(file, QStringLiteral("VTODO"))) {
                const QString status = item.text(QStringLiteral("STATUS")).trimmed().toUpper();
                if (status == QLatin1String("COMPLETED") || status == QLatin1String("CANCELLED") ||
                    item.property(QStringLiteral("COMPLETED")))
                    continue;
                Reminder r{item.text(QStringLiteral("SUMMARY")), std::nullopt, calendar};
                if (const auto* due = item.property(QStringLiteral("DUE")))
                    if (auto t = ICalendar::time(*due)) r.due = t->at;
                QString created = item.text(QStringLiteral("CREATED"));
                if (created.isEmpty()) created = item.text(QStringLiteral("DTSTAMP"));
                found.append({created, r});
            }
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.created < b.created; });
    QList<Reminder> out;
    for (auto& f : found)
        out.append(std::move(f.reminder));
    return out;
}

CalendarStore::Calendar CalendarStore::defaultCalendar() const {
    const auto all = calendars();
    if (!all.isEmpty()) return all.first();
    const QString path = m_root + QStringLiteral("/Pessoal");
    QDir().mkpath(path);
    return Calendar{path, QStringLiteral("Pessoal"), std::nullopt};
}

std::optional<ToolError> CalendarStore::write(const QByteArray& content) const {
    const Calendar calendar = defaultCalendar();
    const QString path = calendar.path + u'/' + QUuid::createUuid().toString(QUuid::WithoutBraces) +
                         QStringLiteral(".ics");
    QSaveFile file(path);
    if (QFileInfo::exists(path) || !file.open(QIODevice::WriteOnly) ||
        file.write(content) != content.size() || !file.commit())
        return ToolError::failed(
            QStringLiteral("Não foi possível gravar em %1.").arg(calendar.path));
    return std::nullopt;
}

std::optional<ToolError> CalendarStore::add(const NewReminder& reminder) const {
    const QString stamp = ICalendar::utcStamp(Clock::shared().now());
    QList<QString> lines = {QStringLiteral("BEGIN:VTODO"),
                            QStringLiteral("UID:") +
                                QUuid::createUuid().toString(QUuid::WithoutBraces),
                            QStringLiteral("DTSTAMP:") + stamp,
                            QStringLiteral("CREATED:") + stamp,
                            QStringLiteral("SUMMARY:") + ICalendar::escape(reminder.title),
                            QStringLiteral("STATUS:NEEDS-ACTION")};
    if (reminder.notes)
        lines.append(QStringLiteral("DESCRIPTION:") + ICalendar::escape(*reminder.notes));
    if (reminder.due) {
        QDateTime due = reminder.due->toLocalTime();
        due.setTime(QTime(due.time().hour(), due.time().minute()));
        lines += {QStringLiteral("DUE:") + ICalendar::floating(due),
                  QStringLiteral("BEGIN:VALARM"),
                  QStringLiteral("ACTION:DISPLAY"),
                  QStringLiteral("DESCRIPTION:") + ICalendar::escape(reminder.title),
                  QStringLiteral("TRIGGER;VALUE=DATE-TIME:") + ICalendar::utcStamp(*reminder.due),
                  QStringLiteral("END:VALARM")};
    }
    lines.append(QStringLiteral("END:VTODO"));
    return write(calendarFile(lines));
}

std::optional<ToolError> CalendarStore::add(const NewEvent& event) const {
    const QString stamp = ICalendar::utcStamp(Clock::shared().now());
    QList<QString> lines = {QStringLiteral("BEGIN:VEVENT"),
                            QStringLiteral("UID:") +
                                QUuid::createUuid().toString(QUuid::WithoutBraces),
                            QStringLiteral("DTSTAMP:") + stamp, QStringLiteral("CREATED:") + stamp,
                            QStringLiteral("SUMMARY:") + ICalendar::escape(event.title)};
    if (event.allDay) {
        // Whole days, the last one included; the end is exclusive in the file.
        const QDate first = event.start.toLocalTime().date();
        const QDate last = std::max(first, event.end.toLocalTime().date());
        lines += {QStringLiteral("DTSTART;VALUE=DATE:") + ICalendar::date(first),
                  QStringLiteral("DTEND;VALUE=DATE:") + ICalendar::date(last.addDays(1))};
    } else {
        lines += {QStringLiteral("DTSTART:") + ICalendar::utcStamp(event.start),
                  QStringLiteral("DTEND:") + ICalendar::utcStamp(event.end)};
    }
    if (event.location)
        lines.append(QStringLiteral("LOCATION:") + ICalendar::escape(*event.location));
    if (event.notes) lines.append(QStringLiteral("DESCRIPTION:") + ICalendar::escape(*event.notes));
    lines.append(QStringLiteral("END:VEVENT"));
    return write(calendarFile(lines));
}

} // namespace nolvea
