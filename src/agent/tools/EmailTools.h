#pragma once

#include "agent/AgentTool.h"

// Writing and reading e-mail through the mail back-end.
namespace nolvea::EmailTools {

inline constexpr int kRecentLimit = 8;

const AgentTool& sendEmail();
const AgentTool& listRecentEmails();

} // namespace nolvea::EmailTools
