#pragma once

#include "agent/AgentTool.h"

// Small helpers the model calls instead of working things out itself.
namespace nolvea::UtilityTools {

// "<expression> = <value in pt-BR>"; an expression it cannot read is an error for the model.
const AgentTool& calculate();

} // namespace nolvea::UtilityTools
