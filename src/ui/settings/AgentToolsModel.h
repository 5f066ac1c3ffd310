#pragma once

#include "agent/AgentTool.h"

#include <QString>

#include <vector>

namespace nolvea::AgentToolsModel {

struct Group {
    QString name;
    std::vector<AgentTool> tools;
};

// The tools by group: groups in the order of their first tool, tools in list order.
std::vector<Group> groups(const std::vector<AgentTool>& tools);
// The built-in tools (for an empty screen) followed by those of the running MCP servers.
std::vector<AgentTool> currentTools();
// The badge of a tool that asks before it acts; "" for the others.
QString badge(const AgentTool& tool);

} // namespace nolvea::AgentToolsModel
