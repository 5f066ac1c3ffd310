#pragma once

#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace nolvea {

// A conversation flattened for a command-line tool, which takes one prompt rather than a list
// of messages with native tool calling.
struct BridgePrompt {
    QString systemText;
    QString historyText;
    std::vector<QByteArray> images; // PNG data, in conversation order
    bool toolsOffered = false;

    static BridgePrompt make(const std::vector<ChatMessage>& messages,
                             const std::optional<std::vector<ToolSpec>>& tools);
};

} // namespace nolvea
