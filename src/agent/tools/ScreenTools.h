#pragma once

#include "agent/AgentTool.h"
#include "ai/ChatMessage.h"

#include <QByteArray>

#include <vector>

// Questions about what is on the screen.
namespace nolvea::ScreenTools {

// A screenshot under the mouse and one separate question to the configured model about it.
// Its run throws `ToolError` (missing question, no capture) or the chat client's errors.
const AgentTool& lookAtScreen();

// The two messages of the request: the describing instruction, then the question with the
// picture as a PNG data URL.
std::vector<ChatMessage> messages(const QString& question, const QByteArray& png);

} // namespace nolvea::ScreenTools
