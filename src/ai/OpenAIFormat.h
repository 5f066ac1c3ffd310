#pragma once

#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"
#include "core/AIProvider.h"
#include "support/json/JSONValue.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace nolvea {

// The "/chat/completions" body and reply of OpenAI-compatible servers.
class OpenAIFormat {
public:
    // The request body; the provider decides the token, temperature and server-specific keys.
    // An empty tool list sends no tools.
    static JSONValue request(AIProvider provider, const QString& model,
                             const std::vector<ChatMessage>& messages,
                             const std::optional<std::vector<ToolSpec>>& tools, double temperature,
                             std::optional<int> maxTokens);

    // The first choice's message. Throws `DecodingError` for a reply of another shape and
    // `LLMError::emptyResponse` when there is no choice.
    static ChatMessage message(const QByteArray& body);
};

} // namespace nolvea
