#include "agent/Recurrence.h"
#include "support/Printers.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

QDateTime at(int year, int month, int day, int hour = 9) {
    return QDateTime(QDate(year, month, day), QTime(hour, 0), QTimeZone("America/Sao_Paulo"));
}

} // namespace

TEST(Recurrence, RulesOfOtherProgramsGiveEachStartOnceInOrder) {
    struct Case {
        const char* rule;
        QList<QDateTime> expected;
    };
    const QDateTime first = at(2026, 10, 5); // a Monday
    const Case cases[] = {
        {"FREQ=WEEKLY;BYDAY=MO,WE;COUNT=3", {first, at(2026, 10, 7), at(2026, 10, 12)}},
        // The same day named twice is one occurrence, and counts once.
        {"FREQ=WEEKLY;BYDAY=MO,1MO,WE,MO;COUNT=3", {first, at(2026, 10, 7), at(2026, 10, 12)}},
        // Intervals too large for the calendar end the series instead of overflowing.
        {"FREQ=MONTHLY;INTERVAL=2147483647", {first}},
        {"FREQ=YEARLY;INTERVAL=2147483647", {first}},
        {"FREQ=WEEKLY;INTERVAL=2147483647;BYDAY=MO", {first}},
        {"FREQ=DAILY;INTERVAL=2147483647", {first}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        EXPECT_EQ(
            Recurrence::starts(first, 3600, QString::fromLatin1(c.rule), {}, first, at(2027, 1, 1)),
            c.expected);
    }
}
