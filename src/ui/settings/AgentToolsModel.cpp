#include "ui/settings/AgentToolsModel.h"

#include "agent/MCPAgentTools.h"
#include "agent/NativeTools.h"
#include "mcp/MCPManager.h"
#include "system/ScreenContext.h"

#include <map>

namespace nolvea::AgentToolsModel {

std::vector<Group> groups(const std::vector<AgentTool>& tools) {
    std::vector<Group> out;
    std::map<QString, size_t> index;
    for (const AgentTool& tool : tools) {
        auto [it, fresh] = index.try_emplace(tool.group, out.size());
        if (fresh) out.push_back({tool.group, {}});
        out[it->second].tools.push_back(tool);
    }
    return out;
}

std::vector<AgentTool> currentTools() {
    std::vector<AgentTool> tools = NativeTools::all(ScreenContext::empty());
    for (AgentTool& t : mcpAgentTools(MCPManager::shared()))
        tools.push_back(std::move(t));
    return tools;
}

QString badge(const AgentTool& tool) {
    return tool.kind == AgentTool::Kind::action ? QStringLiteral("pede confirmação") : QString();
}

} // namespace nolvea::AgentToolsModel
