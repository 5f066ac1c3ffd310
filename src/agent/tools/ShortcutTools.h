#pragma once

#include "agent/AgentTool.h"

// The person's shortcuts: each executable file in <data>/atalhos is one, named by its file.
namespace nolvea::ShortcutTools {

inline constexpr double kRunSeconds = 60;
inline constexpr int kOutputCharacters = 500;

QString folder();

// The names, one a line, or "Nenhum atalho.".
const AgentTool& listShortcuts();
// Runs one with "--input-path" (when there is input) and "--output-path"; both files live in
// a private folder that is removed afterwards, whatever happened.
const AgentTool& runShortcut();

} // namespace nolvea::ShortcutTools
