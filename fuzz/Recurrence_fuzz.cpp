// Repeat rules alone: the first line is the first start (as in DTSTART), the rest the rule.
#include "FuzzSupport.h"
#include "agent/ICalendar.h"
#include "agent/Recurrence.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromUtf8(fuzz::bytes(data, size));
    const qsizetype feed = input.indexOf(u'\n');
    if (feed < 0) return 0;
    const auto first = ICalendar::time(input.left(feed), QStringLiteral("America/Sao_Paulo"));
    if (!first || !first->at.isValid()) return 0;
    const QString rule = input.mid(feed + 1);
    const QDateTime from = first->at.addMonths(-1);
    const QDateTime to = first->at.addYears(2);
    const QList<QDateTime> starts =
        Recurrence::starts(first->at, 1800, rule, {first->at.addDays(7)}, from, to);
    for (qsizetype n = 0; n < starts.size(); ++n) {
        FUZZ_CHECK(starts[n].isValid() && starts[n] < to && starts[n].addSecs(1800) > from);
        if (n > 0) FUZZ_CHECK(starts[n - 1] < starts[n]);
    }
    return 0;
}
