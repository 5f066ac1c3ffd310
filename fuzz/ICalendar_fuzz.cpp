// Calendar files of other programs: every component, time, duration and repeat rule read.
#include "FuzzSupport.h"
#include "agent/ICalendar.h"
#include "agent/Recurrence.h"

using namespace nolvea;

namespace {

void readComponent(const ICalendar::Component& component, int depth) {
    for (const ICalendar::Property& property : component.properties) {
        (void)ICalendar::time(property);
        (void)ICalendar::durationSeconds(property.value);
        const QString text = ICalendar::unescape(property.value);
        // Text written by us reads back as it was, but for carriage returns: line breaks are
        // written as "\n" alone.
        FUZZ_CHECK(ICalendar::unescape(ICalendar::escape(text)) == QString(text).remove(u'\r'));
        FUZZ_CHECK(ICalendar::line(property.name + u':' + property.value).endsWith("\r\n"));
    }
    if (component.name == u"VEVENT") {
        const ICalendar::Property* start = component.property(QStringLiteral("DTSTART"));
        const ICalendar::Property* rule = component.property(QStringLiteral("RRULE"));
        const auto first = start ? ICalendar::time(*start) : std::nullopt;
        if (first && first->at.isValid() && rule) {
            QList<QDateTime> excluded;
            for (const ICalendar::Property& p : component.properties)
                if (p.name == u"EXDATE")
                    if (const auto t = ICalendar::time(p)) excluded << t->at;
            const QDateTime from = first->at.addDays(-3);
            const QDateTime to = first->at.addYears(3);
            const QList<QDateTime> starts =
                Recurrence::starts(first->at, 3600, rule->value, excluded, from, to);
            for (const QDateTime& s : starts)
                FUZZ_CHECK(s.isValid() && s < to && s.addSecs(3600) > from);
        }
    }
    for (const ICalendar::Component& child : component.children)
        readComponent(child, depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const ICalendar::Component& component : ICalendar::parse(fuzz::bytes(data, size)))
        readComponent(component, 0);
    return 0;
}
