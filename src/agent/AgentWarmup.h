#pragma once

#include "ai/Warmup.h"

// The agent's part of the model warm-up.
namespace nolvea::AgentWarmup {

// The agent's prompt and the tools it offers on an empty screen, the MCP tools included.
Warmup::AgentTurn turn();
// Hands `turn` to the shared warm-up.
void install();

} // namespace nolvea::AgentWarmup
