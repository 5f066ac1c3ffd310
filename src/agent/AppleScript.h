#pragma once

#include "agent/ToolError.h"

#include <QString>

#include <optional>

// In-process scripting of other applications. This desktop has no such engine, so every
// script fails with a clear message instead of pretending it ran.
namespace nolvea::AppleScript {

// Why the script did not run (here: always `ToolError::failed`); nothing when it ran.
[[nodiscard]] std::optional<ToolError> run(const QString& source);

} // namespace nolvea::AppleScript
