#pragma once

#include "agent/AgentTool.h"
#include "system/ScreenContext.h"

#include <vector>

// The built-in tools offered to the model in agent mode; each is declared in its area under
// agent/tools.
namespace nolvea::NativeTools {

// All 20, in their fixed order, for one snapshot of the focused application. Nothing is
// filtered: a tool that cannot act says so when it runs.
std::vector<AgentTool> all(const ScreenContext& context);

} // namespace nolvea::NativeTools
