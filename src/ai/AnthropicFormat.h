#pragma once

#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"
#include "support/json/JSONValue.h"

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <vector>

namespace nolvea {

// Translation between the OpenAI-shaped chat records and the Messages interface: system text
// moved out, same-role turns merged, every tool use answered, the reply's raw blocks kept.
class AnthropicFormat {
public:
    // The models that take adaptive thinking, low effort and server-side fallbacks.
    static const QStringList& currentModels();
    // The beta names the request of a current model carries.
    static const QStringList& currentModelBetas();

    // The request body. A tool list, even an empty one, is sent as "tools".
    static JSONValue request(const QString& model, const std::vector<ChatMessage>& messages,
                             const std::optional<std::vector<ToolSpec>>& tools, int maxTokens);

    // The assistant message of a reply body. Throws `DecodingError` for a body that is not
    // JSON, `LLMError::refused` for a refusal and `LLMError::emptyResponse` without content.
    static ChatMessage message(const QByteArray& body);
};

} // namespace nolvea
