#pragma once

#include "agent/AgentTool.h"
#include "system/ScreenContext.h"

// Typing at the caret, replacing the selection, copying.
namespace nolvea::TextTools {

// The two tools bound to the snapshot of the application they were made for.
AgentTool insertText(const ScreenContext& context);
AgentTool replaceSelection(const ScreenContext& context);

const AgentTool& copyToClipboard();

} // namespace nolvea::TextTools
