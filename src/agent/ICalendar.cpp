#include "agent/ICalendar.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace nolvea {

namespace {

QStringList unfold(const QByteArray& data) {
    QStringList lines;
    const QString text = QString::fromUtf8(data);
    for (QStringView raw : QStringView(text).split(u'\n')) {
        if (raw.endsWith(u'\r')) raw.chop(1);
        if (!raw.isEmpty() && (raw.front() == u' ' || raw.front() == u'\t')) {
            if (!lines.isEmpty()) lines.last() += raw.mid(1);
            continue;
        }
        if (!raw.trimmed().isEmpty()) lines.append(raw.toString());
    }
    return lines;
}

// NAME;P=V;Q="a:b":value, colons inside quotes belong to the parameter.
std::optional<ICalendar::Property> readProperty(const QString& line) {
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'"')
            quoted = !quoted;
        else if (line[i] == u':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon <= 0) return std::nullopt;
    ICalendar::Property p;
    p.value = line.mid(colon + 1);
    QStringList parts;
    QString current;
    quoted = false;
    for (QChar c : QStringView(line).left(colon)) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == u';' && !quoted) {
            parts.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    parts.append(current);
    p.name = parts.takeFirst().trimmed().toUpper();
    if (p.name.isEmpty()) return std::nullopt;
    for (const QString& part : parts) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0) continue;
        QString v = part.mid(eq + 1);
        v.remove(u'"');
        p.params.insert(part.left(eq).trimmed().toUpper(), v);
    }
    return p;
}

} // namespace

const ICalendar::Property* ICalendar::Component::property(const QString& wanted) const {
    for (const Property& p : properties)
        if (p.name == wanted) return &p;
    return nullptr;
}

QString ICalendar::Component::text(const QString& wanted) const {
    const Property* p = property(wanted);
    return p ? unescape(p->value) : QString();
}

QList<const ICalendar::Component*> ICalendar::Component::all(const QString& wanted) const {
    QList<const Component*> found;
    for (const Component& c : children)
        if (c.name == wanted) found.append(&c);
    return found;
}

QList<ICalendar::Component> ICalendar::parse(const QByteArray& data) {
    QList<Component> top;
    QList<Component> stack;
    for (const QString& line : unfold(data)) {
        auto p = readProperty(line);
        if (!p) continue;
        if (p->name == QLatin1String("BEGIN")) {
            stack.append(Component{p->value.trimmed().toUpper(), {}, {}});
        } else if (p->name == QLatin1String("END")) {
            if (stack.isEmpty()) continue;
            Component done = stack.takeLast();
            if (stack.isEmpty())
                top.append(std::move(done));
            else
                stack.last().children.append(std::move(done));
        } else if (!stack.isEmpty()) {
            stack.last().properties.append(std::move(*p));
        }
    }
    // A file cut short still yields what it held.
    while (!stack.isEmpty()) {
        Component done = stack.takeLast();
        if (stack.isEmpty())
            top.append(std::move(done));
        else
            stack.last().children.append(std::move(done));
    }
    return top;
}

std::optional<ICalendar::Time> ICalendar::time(const Property& property) {
    if (property.params.value(QStringLiteral("VALUE")).toUpper() == QLatin1String("DATE")) {
        const QDate day =
            QDate::fromString(property.value.trimmed().left(8), QStringLiteral("yyyyMMdd"));
        if (!day.isValid()) return std::nullopt;
        return Time{day.startOfDay(), true};
    }
    return time(property.value, property.params.value(QStringLiteral("TZID")));
}

std::optional<ICalendar::Time> ICalendar::time(const QString& rawValue, const QString& tzid) {
    const QString value = rawValue.trimmed();
    if (value.size() == 8) {
        const QDate day = QDate::fromString(value, QStringLiteral("yyyyMMdd"));
        if (!day.isValid()) return std::nullopt;
        return Time{day.startOfDay(), true};
    }
    static const QRegularExpression form(QStringLiteral(R"(^(\d{8})T(\d{6})(Z?)$)"));
    const auto m = form.match(value);
    if (!m.hasMatch()) return std::nullopt;
    const QDate day = QDate::fromString(m.captured(1), QStringLiteral("yyyyMMdd"));
    const QTime clock = QTime::fromString(m.captured(2), QStringLiteral("HHmmss"));
    if (!day.isValid() || !clock.isValid()) return std::nullopt;
    if (!m.captured(3).isEmpty()) return Time{QDateTime(day, clock, QTimeZone::utc()), false};
    if (!tzid.isEmpty()) {
        QByteArray id = tzid.trimmed().toUtf8();
        if (id.startsWith('/')) id = id.mid(1); // "/mozilla.org/.../Europe/Berlin" style
        QTimeZone zone(id);
        if (!zone.isValid()) {
            const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(id);
            if (!iana.isEmpty()) zone = QTimeZone(iana);
        }
        if (!zone.isValid()) {
            // Prefixed ids: keep the trailing Area/City.
            const QList<QByteArray> parts = id.split('/');
            if (parts.size() >= 2) zone = QTimeZone(parts[parts.size() - 2] + '/' + parts.last());
        }
        if (zone.isValid()) return Time{QDateTime(day, clock, zone).toLocalTime(), false};
    }
    return Time{QDateTime(day, clock), false};
}

std::optional<qint64> ICalendar::durationSeconds(const QString& rawValue) {
    static const QRegularExpression form(QStringLiteral(
        R"(^([+-]?)P(?:(\d+)W)?(?:(\d+)D)?(?:T(?:(\d+)H)?(?:(\d+)M)?(?:(\d+)S)?)?$)"));
    const auto m = form.match(rawValue.trimmed().toUpper());
    if (!m.hasMatch()) return std::nullopt;
    const qint64 seconds = m.captured(2).toLongLong() * 7 * 86400 +
                           m.captured(3).toLongLong() * 86400 + m.captured(4).toLongLong() * 3600 +
                           m.captured(5).toLongLong() * 60 + m.captured(6).toLongLong();
    return m.captured(1) == QLatin1String("-") ? -seconds : seconds;
}

QString ICalendar::unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            out += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

QString ICalendar::escape(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == u'\\' || c == u';' || c == u',')
            out += u'\\', out += c;
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c != u'\r')
            out += c;
    }
    return out;
}

QByteArray ICalendar::line(const QString& content) {
    const QByteArray utf8 = content.toUtf8();
    QByteArray out;
    qsizetype start = 0;
    int limit = 75;
    while (utf8.size() - start > limit) {
        qsizetype cut = start + limit;
        // Never split a UTF-8 sequence.
        while (cut > start && (uchar(utf8[cut]) & 0xC0) == 0x80)
            --cut;
        out += utf8.mid(start, cut - start) + "\r\n ";
        start = cut;
        limit = 74;
    }
    out += utf8.mid(start) + "\r\n";
    return out;
}

QString ICalendar::utcStamp(const QDateTime& at) {
    return at.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

QString ICalendar::floating(const QDateTime& at) {
    return at.toLocalTime().toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
}

QString ICalendar::date(const QDate& day) {
    return day.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace nolvea
