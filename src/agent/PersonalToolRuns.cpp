#include "agent/PersonalToolRuns.h"

#include "agent/AgentTool.h"
#include "agent/CalendarTools.h"
#include "agent/ContactTools.h"
#include "agent/EmailTools.h"
#include "agent/ScreenTool.h"

namespace nolvea::PersonalToolRuns {

namespace {

// The tool is kept in the frame while its run is awaited: its function owns the captures.
QCoro::Task<QString> runOf(AgentTool tool, JSONValue arguments) {
    const AgentTool kept = std::move(tool);
    QString result = co_await kept.run(std::move(arguments));
    co_return result;
}

} // namespace

QCoro::Task<QString> createReminder(JSONValue a) {
    return runOf(CalendarTools::createReminder(), std::move(a));
}
QCoro::Task<QString> listReminders(JSONValue a) {
    return runOf(CalendarTools::listReminders(), std::move(a));
}
QCoro::Task<QString> createEvent(JSONValue a) {
    return runOf(CalendarTools::createEvent(), std::move(a));
}
QCoro::Task<QString> listEvents(JSONValue a) {
    return runOf(CalendarTools::listEvents(), std::move(a));
}
QCoro::Task<QString> findContact(JSONValue a) {
    return runOf(ContactTools::findContact(), std::move(a));
}
QCoro::Task<QString> sendMessage(JSONValue a) {
    return runOf(ContactTools::sendMessage(), std::move(a));
}
QCoro::Task<QString> sendEmail(JSONValue a) {
    return runOf(EmailTools::sendEmail(), std::move(a));
}
QCoro::Task<QString> listRecentEmails(JSONValue a) {
    return runOf(EmailTools::listRecentEmails(), std::move(a));
}
QCoro::Task<QString> lookAtScreen(JSONValue a) {
    return ScreenTool::run(std::move(a));
}

} // namespace nolvea::PersonalToolRuns
