#pragma once

#include "agent/AgentTool.h"

// The reminder and calendar tools, over the vdir calendar store.
namespace nolvea::CalendarTools {

inline constexpr int kReminderLimit = 30;
inline constexpr int kEventLimit = 40;

AgentTool createReminder();
AgentTool listReminders();
AgentTool createEvent();
AgentTool listEvents();

} // namespace nolvea::CalendarTools
