#pragma once

#include <QString>

// In-process scripting of other applications. This desktop has no such engine, so every
// script fails with a clear message instead of pretending it ran.
namespace nolvea::AppleScript {

// Throws `ToolError::failed`.
void run(const QString& source);

} // namespace nolvea::AppleScript
