#pragma once

#include "agent/AgentTool.h"

// Looking people up in the contacts folder, and the message tool that Linux cannot serve.
namespace nolvea::ContactTools {

inline constexpr int kContactLimit = 5;

const AgentTool& findContact();
const AgentTool& sendMessage();

} // namespace nolvea::ContactTools
