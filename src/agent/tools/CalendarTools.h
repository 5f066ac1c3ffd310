#pragma once

#include "agent/AgentTool.h"

// The reminder and calendar tools, over the vdir calendar store.
namespace nolvea::CalendarTools {

inline constexpr int kReminderLimit = 30;
inline constexpr int kEventLimit = 40;

const AgentTool& createReminder();
const AgentTool& listReminders();
const AgentTool& createEvent();
const AgentTool& listEvents();

// The confirmation cards of the two tools that save something: the title, then when it is
// (and for an event, till when and where).
ActionPreview reminderCard(const JSONValue& arguments);
ActionPreview eventCard(const JSONValue& arguments);

} // namespace nolvea::CalendarTools
