#include "agent/AgentDate.h"

#include "support/Clock.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>

namespace nolvea::AgentDate {

namespace {

QLocale brazil() {
    return QLocale(QLocale::Portuguese, QLocale::Brazil);
}

QDateTime localNow() {
    return Clock::shared().now().toLocalTime();
}

// ISO 8601 internet date-time with the local offset ("Z" when it is zero).
QString internetDateTime(const QDateTime& local) {
    const int offset = local.offsetFromUtc();
    QString zone = QStringLiteral("Z");
    if (offset != 0) {
        const int minutes = std::abs(offset) / 60;
        zone = QStringLiteral("%1%2:%3")
                   .arg(offset < 0 ? QStringLiteral("-") : QStringLiteral("+"))
                   .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                   .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    }
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + zone;
}

} // namespace

std::optional<QDateTime> parse(const QString& text) {
    static const QRegularExpression zoned(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(\.\d+)?(Z|[+-]\d{2}:?\d{2})$)"));
    static const QRegularExpression plain(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}$)"));
    if (zoned.match(text).hasMatch() || plain.match(text).hasMatch()) {
        const QDateTime d = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (d.isValid()) return d;
    }
    for (const auto* format : {"yyyy-MM-dd'T'HH:mm:ss", "yyyy-MM-dd'T'HH:mm", "yyyy-MM-dd HH:mm"}) {
        const QDateTime d = QDateTime::fromString(text, QLatin1String(format));
        if (d.isValid()) return d;
    }
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (day.isValid()) {
        const QDateTime d = day.startOfDay();
        if (d.isValid()) return d;
    }
    return std::nullopt;
}

QString nowDescription() {
    const QDateTime now = localNow();
    return brazil().toString(now, QStringLiteral("dddd, dd/MM/yyyy HH:mm")) +
           QStringLiteral(" — ISO ") + internetDateTime(now) + QStringLiteral(" — fuso ") +
           QString::fromUtf8(QTimeZone::systemTimeZoneId());
}

QString upcomingDays() {
    const QDate today = localNow().date();
    QStringList entries;
    for (int offset = 0; offset <= 7; ++offset) {
        const QDate day = today.addDays(offset);
        if (!day.isValid()) continue;
        QString entry = brazil().toString(day, QStringLiteral("ddd dd/MM/yyyy"));
        entry.remove(u'.');
        if (offset == 0) entry += QStringLiteral(" (hoje)");
        if (offset == 1) entry += QStringLiteral(" (amanhã)");
        entries.append(entry);
    }
    return entries.join(QStringLiteral(", "));
}

QString describe(const QDateTime& date, bool allDay) {
    const QDateTime local = date.toLocalTime();
    const QDate today = localNow().date();
    QString day;
    if (local.date() == today)
        day = QStringLiteral("hoje");
    else if (local.date() == today.addDays(1))
        day = QStringLiteral("amanhã");
    else
        day = brazil().toString(local.date(), QStringLiteral("dddd, d 'de' MMM"));
    if (allDay) return day + QStringLiteral(" (dia inteiro)");
    return day + QStringLiteral(" às ") + local.toString(QStringLiteral("HH:mm"));
}

} // namespace nolvea::AgentDate
