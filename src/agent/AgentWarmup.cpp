#include "agent/AgentWarmup.h"

#include "agent/Agent.h"

namespace nolvea::AgentWarmup {

Warmup::AgentTurn turn() {
    Warmup::AgentTurn result;
    result.prompt.push_back(Agent::systemMessage());
    const std::vector<AgentTool> tools = Agent::availableTools(ScreenContext::empty());
    result.tools.reserve(tools.size());
    for (const AgentTool& tool : tools)
        result.tools.push_back(tool.spec());
    return result;
}

void install() {
    Warmup::shared().setAgentTurn(&turn);
}

} // namespace nolvea::AgentWarmup
