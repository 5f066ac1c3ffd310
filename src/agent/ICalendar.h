#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea {

// iCalendar (RFC 5545) as other programs write it: folded lines, parameters, nested
// components. Only what the calendar store needs.
struct ICalendar {
    struct Property {
        QString name;                  // upper case
        QMap<QString, QString> params; // names upper case, values unquoted
        QString value;                 // raw, still escaped
    };

    struct Component {
        QString name; // "VEVENT", "VTODO", "VALARM", ...
        QList<Property> properties;
        QList<Component> children;

        const Property* property(const QString& name) const;
        // The unescaped text of a property, empty when absent.
        QString text(const QString& name) const;
        QList<const Component*> all(const QString& name) const;
    };

    // A date or date-time value; `allDay` for VALUE=DATE.
    struct Time {
        QDateTime at;
        bool allDay = false;
    };

    // The top-level components (normally one VCALENDAR); broken lines are skipped.
    static QList<Component> parse(const QByteArray& data);

    // DTSTART/DTEND/DUE/... read with their TZID (unknown zones fall back to local time),
    // "Z" for UTC, floating times as local, VALUE=DATE (or an eight-digit value) as local
    // midnight.
    static std::optional<Time> time(const Property& property);
    static std::optional<Time> time(const QString& value, const QString& tzid);
    // "P1D", "-PT15M", "PT1H30M", "P2W".
    static std::optional<qint64> durationSeconds(const QString& value);

    static QString unescape(const QString& value);
    static QString escape(const QString& text);
    // Content lines folded at 75 octets, CRLF.
    static QByteArray line(const QString& content);
    static QString utcStamp(const QDateTime& at); // 20261001T120000Z
    static QString floating(const QDateTime& at); // 20261001T090000, local
    static QString date(const QDate& day);        // 20261001
};

} // namespace nolvea
