#include "ui/notch/RecentEntries.h"

#include "support/Graphemes.h"

#include <cmath>

namespace nolvea {

RecentEntries::Slot RecentEntries::slot(const std::optional<QUuid>& expanded,
                                        const QList<HistoryEntry>& entries) {
    if (expanded)
        for (const HistoryEntry& e : entries)
            if (e.id == *expanded) return {e, {}};
    return {std::nullopt, entries.mid(0, kRows)};
}

QString RecentEntries::title(const HistoryEntry& entry) {
    return entry.kind == HistoryEntry::Kind::dictation ? entry.output : entry.transcript;
}

QString RecentEntries::kindLabel(HistoryEntry::Kind kind) {
    switch (kind) {
    case HistoryEntry::Kind::dictation:
        return QStringLiteral("Ditado");
    case HistoryEntry::Kind::edit:
        return QStringLiteral("Edição");
    case HistoryEntry::Kind::agent:
        break;
    }
    return QStringLiteral("Agente");
}

QString RecentEntries::subtitle(const HistoryEntry& entry, const QDateTime& now) {
    QString out = kindLabel(entry.kind);
    if (!entry.appName.isEmpty()) out += QStringLiteral(" · ") + entry.appName;
    return out + QStringLiteral(" · ") + relativeDate(entry.date, now, true);
}

bool RecentEntries::detailScrolls(const HistoryEntry& entry) {
    return Graphemes::count(entry.transcript) + Graphemes::count(entry.output) >= kDetailScrollFrom;
}

QString RecentEntries::relativeDate(const QDateTime& date, const QDateTime& now, bool named) {
    const qint64 seconds = date.secsTo(now);
    const bool past = seconds >= 0;
    const qint64 span = std::llabs(seconds);
    struct Unit {
        qint64 seconds;
        const char* one;
        const char* many;
    };
    static const Unit units[] = {{365 * 86400, "ano", "anos"},     {30 * 86400, "mês", "meses"},
                                 {7 * 86400, "semana", "semanas"}, {86400, "dia", "dias"},
                                 {3600, "hora", "horas"},          {60, "minuto", "minutos"},
                                 {1, "segundo", "segundos"}};
    if (named) {
        if (span < 1) return QStringLiteral("agora");
        const qint64 days = now.toLocalTime().date().daysTo(date.toLocalTime().date());
        if (span >= 86400 || days != 0) {
            if (days == -1) return QStringLiteral("ontem");
            if (days == 1) return QStringLiteral("amanhã");
        }
    }
    for (const Unit& u : units) {
        if (span < u.seconds && u.seconds != 1) continue;
        const qint64 n = span / u.seconds;
        const QString amount =
            QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? u.one : u.many));
        return past ? QStringLiteral("há ") + amount : QStringLiteral("em ") + amount;
    }
    return {};
}

} // namespace nolvea
