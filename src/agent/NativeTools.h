#pragma once

#include "agent/AgentTool.h"
#include "system/ScreenContext.h"

#include <vector>

// The built-in tools offered to the model in agent mode.
namespace nolvea::NativeTools {

// All 20, in their fixed order, for one snapshot of the focused application. Nothing is
// filtered: a tool that cannot act says so when it runs.
std::vector<AgentTool> all(const ScreenContext& context);

// The two tools bound to the snapshot they were made for.
AgentTool insertText(const ScreenContext& context);
AgentTool replaceSelection(const ScreenContext& context);

// The shared tools, each built once, on first use.
const AgentTool& createReminder();
const AgentTool& listReminders();
const AgentTool& createEvent();
const AgentTool& listEvents();
const AgentTool& findContact();
const AgentTool& sendMessage();
const AgentTool& sendEmail();
const AgentTool& listRecentEmails();
const AgentTool& searchFiles();
const AgentTool& openFile();
const AgentTool& openApp();
const AgentTool& openURL();
const AgentTool& webSearch();
const AgentTool& listShortcuts();
const AgentTool& runShortcut();
const AgentTool& copyToClipboard();
const AgentTool& lookAtScreen();
const AgentTool& calculate();

} // namespace nolvea::NativeTools
