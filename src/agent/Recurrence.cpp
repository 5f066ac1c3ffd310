#include "agent/Recurrence.h"

#include "agent/ICalendar.h"

#include <QMap>
#include <QTimeZone>

#include <algorithm>

namespace nolvea::Recurrence {

namespace {

constexpr int kMaxSteps = 20000;
// Beyond this many days, weeks, months or years from the first start nothing is looked for.
constexpr qint64 kMaxOffset = 10'000'000;

int weekday(const QString& code) {
    static const QStringList days = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    return int(days.indexOf(code.right(2).toUpper())) + 1; // 0 when unknown
}

} // namespace

QList<QDateTime> starts(const QDateTime& first, qint64 lengthSeconds, const QString& rule,
                        const QList<QDateTime>& excluded, const QDateTime& from,
                        const QDateTime& to) {
    QMap<QString, QString> parts;
    for (const QString& part : rule.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq > 0) parts.insert(part.left(eq).trimmed().toUpper(), part.mid(eq + 1).trimmed());
    }
    const QString freq = parts.value(QStringLiteral("FREQ")).toUpper();
    const int interval =
        std::max(1, parts.value(QStringLiteral("INTERVAL"), QStringLiteral("1")).toInt());
    const int count = parts.value(QStringLiteral("COUNT")).toInt(); // 0: no count
    QDateTime until;
    if (parts.contains(QStringLiteral("UNTIL"))) {
        if (auto t = ICalendar::time(parts.value(QStringLiteral("UNTIL")), {}))
            until = t->allDay ? t->at.addDays(1).addSecs(-1) : t->at;
    }
    // BYDAY entries as (ordinal within the month, 0 for every one; weekday).
    QList<std::pair<int, int>> byDay;
    for (const QString& d : parts.value(QStringLiteral("BYDAY")).split(u',', Qt::SkipEmptyParts))
        if (int w = weekday(d)) byDay.append({d.trimmed().chopped(2).toInt(), w});
    std::sort(byDay.begin(), byDay.end(), [](auto a, auto b) { return a.second < b.second; });
    // A week holds each day once, however often the rule names it ("MO,1MO").
    QList<int> weekdays;
    for (const auto& entry : byDay)
        if (weekdays.isEmpty() || weekdays.back() != entry.second) weekdays.append(entry.second);

    const QDate firstDay = first.date();
    const QTime clock = first.time();
    QList<QDateTime> found;
    int emitted = 0;
    bool done = false;
    auto consider = [&](const QDate& day) {
        if (done) return;
        QDateTime at(day, clock, first.timeZone());
        if (!at.isValid() || at < first) return;
        if ((until.isValid() && at > until) || at >= to) {
            done = true;
            return;
        }
        ++emitted;
        if (count > 0 && emitted > count) {
            done = true;
            return;
        }
        if (at.addSecs(std::max<qint64>(lengthSeconds, 1)) > from && !excluded.contains(at))
            found.append(at);
    };

    if (freq != QLatin1String("DAILY") && freq != QLatin1String("WEEKLY") &&
        freq != QLatin1String("MONTHLY") && freq != QLatin1String("YEARLY")) {
        consider(firstDay);
        return found;
    }
    for (int step = 0; step < kMaxSteps && !done; ++step) {
        // In the unit of the frequency; a huge INTERVAL leaves the calendar after one step.
        const qint64 offset = qint64(step) * interval;
        if (offset > kMaxOffset) break;
        if (freq == QLatin1String("DAILY")) {
            consider(firstDay.addDays(offset));
        } else if (freq == QLatin1String("WEEKLY")) {
            const QDate monday = firstDay.addDays(1 - firstDay.dayOfWeek()).addDays(offset * 7);
            if (byDay.isEmpty()) consider(monday.addDays(firstDay.dayOfWeek() - 1));
            for (int w : weekdays)
                consider(monday.addDays(w - 1));
        } else if (freq == QLatin1String("MONTHLY")) {
            const QDate month = QDate(firstDay.year(), firstDay.month(), 1).addMonths(int(offset));
            if (byDay.isEmpty()) {
                // A month without that day (31 in April) has no occurrence.
                if (firstDay.day() <= month.daysInMonth())
                    consider(QDate(month.year(), month.month(), firstDay.day()));
            } else {
                const int days = month.daysInMonth();
                for (QDate d = month; d.month() == month.month() && !done; d = d.addDays(1)) {
                    const int nth = (d.day() - 1) / 7 + 1;
                    const int fromEnd = -((days - d.day()) / 7 + 1);
                    for (auto [ordinal, w] : byDay)
                        if (w == d.dayOfWeek() &&
                            (ordinal == 0 || ordinal == nth || ordinal == fromEnd)) {
                            consider(d);
                            break;
                        }
                }
            }
        } else {
            const QDate day(firstDay.year() + int(offset), firstDay.month(), firstDay.day());
            if (day.isValid()) consider(day);
        }
    }
    return found;
}

} // namespace nolvea::Recurrence
