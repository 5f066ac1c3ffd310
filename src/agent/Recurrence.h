#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace nolvea {

// The occurrences of a repeating event (RRULE): FREQ DAILY, WEEKLY, MONTHLY or YEARLY with
// INTERVAL, COUNT, UNTIL and BYDAY (weekdays within a week or a month). Other parts of a rule
// are not read: such an event repeats on its own weekday, day of the month or date.
namespace Recurrence {

// The starts of the occurrences whose span [start, start + length) meets [from, to), the
// first occurrence being `first` itself; `excluded` starts are left out. Stops after a few
// thousand steps, so a rule without end cannot hold the caller.
QList<QDateTime> starts(const QDateTime& first, qint64 lengthSeconds, const QString& rule,
                        const QList<QDateTime>& excluded, const QDateTime& from,
                        const QDateTime& to);

} // namespace Recurrence

} // namespace nolvea
