#pragma once

#include "ai/MessageContent.h"
#include "ai/ToolCall.h"
#include "support/json/JSONValue.h"

#include <QString>

#include <optional>
#include <vector>

namespace nolvea {

// One chat message in the OpenAI-compatible shape every back-end takes and returns.
struct ChatMessage {
    QString role{}; // "system", "user", "assistant" or "tool"
    std::optional<MessageContent> content{};
    std::optional<std::vector<ToolCall>> toolCalls{};
    std::optional<QString> toolCallID{};
    // An Anthropic reply's raw content blocks, sent back unchanged; never in the JSON form.
    std::optional<JSONValue> providerBlocks{};

    // A message of plain text: what the agent, the self-tests and the tests build most.
    static ChatMessage ofText(const QString& role, const QString& text);

    // The text content, or the texts of the parts joined by line feeds, or "".
    QString text() const;

    JSONValue toJSON() const;
    // "role" is required; the other keys may be absent or null. Throws `DecodingError`.
    static ChatMessage fromJSON(const JSONValue& value, const QString& path = {});

    static JSONValue toJSON(const std::vector<ChatMessage>& messages);

    bool operator==(const ChatMessage&) const = default;
};

} // namespace nolvea
