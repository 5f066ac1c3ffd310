#include "ai/OpenAIFormat.h"

#include "ai/JSONFields.h"
#include "ai/LLMError.h"

namespace nolvea {

namespace jf = jsonfields;

JSONValue OpenAIFormat::request(AIProvider provider, const QString& model,
                                const std::vector<ChatMessage>& messages,
                                const std::optional<std::vector<ToolSpec>>& tools,
                                double temperature, std::optional<int> maxTokens) {
    JSONValue::Object body;
    body.emplace(QStringLiteral("model"), model);
    body.emplace(QStringLiteral("messages"), ChatMessage::toJSON(messages));
    if (tools && !tools->empty()) {
        JSONValue::Array specs;
        specs.reserve(tools->size());
        for (const ToolSpec& tool : *tools)
            specs.push_back(tool.toJSON());
        body.emplace(QStringLiteral("tools"), std::move(specs));
        body.emplace(QStringLiteral("tool_choice"), QStringLiteral("auto"));
    }
    // OpenAI's reasoning models take no temperature and name the token limit differently.
    if (provider == AIProvider::openAI) {
        if (maxTokens)
            body.emplace(QStringLiteral("max_completion_tokens"), JSONValue::number(*maxTokens));
    } else {
        body.emplace(QStringLiteral("temperature"), JSONValue::number(temperature));
        if (maxTokens) body.emplace(QStringLiteral("max_tokens"), JSONValue::number(*maxTokens));
    }
    if (provider == AIProvider::lmStudio) {
        body.emplace(QStringLiteral("reasoning_effort"), QStringLiteral("none"));
        body.emplace(QStringLiteral("ttl"), JSONValue::number(60));
    }
    body.emplace(QStringLiteral("stream"), false);
    return body;
}

ChatMessage OpenAIFormat::message(const QByteArray& body) {
    const auto root = JSONValue::parse(body);
    if (!root) throw DecodingError::wrongType(QString(), QStringLiteral("JSON"));
    jf::object(*root, QString());
    const QString choicesPath = QStringLiteral("choices");
    const auto& choices = jf::array(jf::required(*root, choicesPath, QString()), choicesPath);
    std::optional<ChatMessage> first;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const QString path = jf::index(choicesPath, qsizetype(i));
        jf::object(choices[i], path);
        const QString messagePath = jf::join(path, QStringLiteral("message"));
        ChatMessage message = ChatMessage::fromJSON(
            jf::required(choices[i], QStringLiteral("message"), path), messagePath);
        if (!first) first = std::move(message);
    }
    if (!first) throw LLMError::emptyResponse();
    return *first;
}

} // namespace nolvea
