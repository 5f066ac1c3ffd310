#pragma once

#include "agent/AgentTool.h"
#include "mcp/MCPManager.h"

#include <vector>

namespace nolvea {

// The tools of every running server of `manager` as agent tools, named and ordered as
// `MCPManager::offeredTools` gives them. A tool that asks for a Google sign-in opens the page
// and fails with `ToolError::needsLogin`.
std::vector<AgentTool> mcpAgentTools(MCPManager& manager);

} // namespace nolvea
