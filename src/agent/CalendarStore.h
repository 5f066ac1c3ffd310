#pragma once

#include "agent/ToolError.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace nolvea {

// Reminders and events in vdir folders of iCalendar files, the layout that calendar sync
// tools share: <root>/<calendar>/*.ics, or <root>/<source>/<calendar>/*.ics for calendars
// that come from an account. Reading takes whatever other programs wrote; writing only adds
// new files and never touches one it did not make.
class CalendarStore {
public:
    struct Calendar {
        QString path;
        QString title;                 // the folder's "displayname" file, else its name
        std::optional<QString> source; // the parent folder below the root, if any

        bool operator==(const Calendar&) const = default;
    };

    struct Event {
        QString title;
        QDateTime start;
        QDateTime end;
        bool allDay = false;
        QString location;
        Calendar calendar;
    };

    struct Reminder {
        QString title;
        std::optional<QDateTime> due;
        Calendar calendar;
    };

    struct NewReminder {
        QString title;
        std::optional<QString> notes;
        std::optional<QDateTime> due; // kept to the minute, with an alarm at that moment
    };

    struct NewEvent {
        QString title;
        QDateTime start;
        QDateTime end;
        bool allDay = false;
        std::optional<QString> location;
        std::optional<QString> notes;
    };

    // <data>/calendarios
    static QString defaultRoot();

    explicit CalendarStore(QString root = defaultRoot());

    // Access means the root folder exists (it is made when missing) and can be read and
    // written.
    bool hasAccess() const;

    // Every calendar, sorted by path.
    QList<Calendar> calendars() const;
    // Occurrences meeting [from, to), repeating events expanded, sorted by start.
    QList<Event> events(const QDateTime& from, const QDateTime& to) const;
    // Reminders neither completed nor cancelled, oldest first.
    QList<Reminder> pendingReminders() const;

    // Each writes one new file into the default calendar (the first one; "Pessoal" is made
    // when there is none); `ToolError::failed` when it cannot.
    [[nodiscard]] std::optional<ToolError> add(const NewReminder& reminder) const;
    [[nodiscard]] std::optional<ToolError> add(const NewEvent& event) const;

private:
    Calendar defaultCalendar() const;
    std::optional<ToolError> write(const QByteArray& content) const;

    QString m_root;
};

} // namespace nolvea
