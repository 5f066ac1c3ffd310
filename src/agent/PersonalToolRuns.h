#pragma once

#include "ai/JSONValue.h"

#include <qcoro/qcorotask.h>

// What the calendar, contact, message, e-mail and screen tools do with their arguments. The
// catalogue holds their records; these hand the arguments to the calendar, contact, mail and screen tools.
namespace nolvea::PersonalToolRuns {

QCoro::Task<QString> createReminder(JSONValue arguments);
QCoro::Task<QString> listReminders(JSONValue arguments);
QCoro::Task<QString> createEvent(JSONValue arguments);
QCoro::Task<QString> listEvents(JSONValue arguments);
QCoro::Task<QString> findContact(JSONValue arguments);
QCoro::Task<QString> sendMessage(JSONValue arguments);
QCoro::Task<QString> sendEmail(JSONValue arguments);
QCoro::Task<QString> listRecentEmails(JSONValue arguments);
QCoro::Task<QString> lookAtScreen(JSONValue arguments);

} // namespace nolvea::PersonalToolRuns
