#pragma once

#include "ai/ChatMessage.h"
#include "ai/JSONValue.h"

#include <QByteArray>
#include <qcoro/qcorotask.h>

#include <vector>

// The work of the `look_at_screen` tool: a screenshot under the mouse and one separate
// question to the configured model about it.
namespace nolvea::ScreenTool {

// Answers the required "question" argument about the screen under the mouse. Throws
// `ToolError` (missing question, no capture) or the chat client's errors.
QCoro::Task<QString> run(JSONValue arguments);

// The two messages of the request: the describing instruction, then the question with the
// picture as a PNG data URL.
std::vector<ChatMessage> messages(const QString& question, const QByteArray& png);

} // namespace nolvea::ScreenTool
