// JSON forms of the chat records: the OpenAI-compatible chat format.
#include "ai/ChatMessage.h"
#include "ai/ContentPart.h"
#include "ai/JSONFields.h"
#include "ai/MessageContent.h"
#include "ai/ToolCall.h"
#include "ai/ToolSpec.h"

namespace nolvea {

namespace jf = jsonfields;

// ContentPart

JSONValue ContentPart::toJSON() const {
    JSONValue::Object o{{QStringLiteral("type"), type}};
    if (text) o.emplace(QStringLiteral("text"), *text);
    if (imageURL)
        o.emplace(QStringLiteral("image_url"),
                  JSONValue::object({{QStringLiteral("url"), imageURL->url}}));
    return o;
}

ContentPart ContentPart::fromJSON(const JSONValue& value, const QString& path) {
    jf::object(value, path);
    ContentPart part;
    part.type = jf::requiredString(value, QStringLiteral("type"), path);
    part.text = jf::optionalString(value, QStringLiteral("text"), path);
    if (const JSONValue* image = jf::optional(value, QStringLiteral("image_url"))) {
        const QString imagePath = jf::join(path, QStringLiteral("image_url"));
        jf::object(*image, imagePath);
        part.imageURL = ImageURL{jf::requiredString(*image, QStringLiteral("url"), imagePath)};
    }
    return part;
}

// MessageContent

std::optional<QString> MessageContent::asText() const {
    if (auto* s = std::get_if<QString>(&m_value)) return *s;
    return std::nullopt;
}

const std::vector<ContentPart>& MessageContent::asParts() const& {
    static const std::vector<ContentPart> none;
    if (auto* p = std::get_if<std::vector<ContentPart>>(&m_value)) return *p;
    return none;
}

JSONValue MessageContent::toJSON() const {
    if (auto* s = std::get_if<QString>(&m_value)) return *s;
    JSONValue::Array items;
    for (const auto& part : asParts())
        items.push_back(part.toJSON());
    return items;
}

MessageContent MessageContent::fromJSON(const JSONValue& value, const QString& path) {
    if (auto s = value.asString()) return text(*s);
    const auto& items = jf::array(value, path);
    std::vector<ContentPart> result;
    result.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        result.push_back(ContentPart::fromJSON(items[i], jf::index(path, qsizetype(i))));
    return parts(std::move(result));
}

// ToolCall

JSONValue ToolCall::toJSON() const {
    return JSONValue::object({
        {QStringLiteral("id"), id},
        {QStringLiteral("type"), type},
        {QStringLiteral("function"),
         JSONValue::object({{QStringLiteral("name"), function.name},
                            {QStringLiteral("arguments"), function.arguments}})},
    });
}

ToolCall ToolCall::fromJSON(const JSONValue& value, const QString& path) {
    jf::object(value, path);
    ToolCall call;
    call.id = jf::requiredString(value, QStringLiteral("id"), path);
    call.type = jf::requiredString(value, QStringLiteral("type"), path);
    const QString fnPath = jf::join(path, QStringLiteral("function"));
    const JSONValue& fn = jf::required(value, QStringLiteral("function"), path);
    jf::object(fn, fnPath);
    call.function.name = jf::requiredString(fn, QStringLiteral("name"), fnPath);
    call.function.arguments = jf::requiredString(fn, QStringLiteral("arguments"), fnPath);
    return call;
}

// ToolSpec

JSONValue ToolSpec::toJSON() const {
    return JSONValue::object({
        {QStringLiteral("type"), type},
        {QStringLiteral("function"),
         JSONValue::object({{QStringLiteral("name"), function.name},
                            {QStringLiteral("description"), function.description},
                            {QStringLiteral("parameters"), function.parameters}})},
    });
}

// ChatMessage

ChatMessage ChatMessage::ofText(const QString& role, const QString& text) {
    return {.role = role, .content = MessageContent::text(text)};
}

QString ChatMessage::text() const {
    if (!content) return {};
    if (auto s = content->asText()) return *s;
    QStringList texts;
    for (const auto& part : content->asParts())
        if (part.text) texts.append(*part.text);
    return texts.join(u'\n');
}

JSONValue ChatMessage::toJSON() const {
    JSONValue::Object o{{QStringLiteral("role"), role}};
    if (content) o.emplace(QStringLiteral("content"), content->toJSON());
    if (toolCalls) {
        JSONValue::Array calls;
        for (const auto& call : *toolCalls)
            calls.push_back(call.toJSON());
        o.emplace(QStringLiteral("tool_calls"), std::move(calls));
    }
    if (toolCallID) o.emplace(QStringLiteral("tool_call_id"), *toolCallID);
    return o;
}

JSONValue ChatMessage::toJSON(const std::vector<ChatMessage>& messages) {
    JSONValue::Array items;
    items.reserve(messages.size());
    for (const auto& m : messages)
        items.push_back(m.toJSON());
    return items;
}

ChatMessage ChatMessage::fromJSON(const JSONValue& value, const QString& path) {
    jf::object(value, path);
    ChatMessage message;
    message.role = jf::requiredString(value, QStringLiteral("role"), path);
    if (const JSONValue* c = jf::optional(value, QStringLiteral("content")))
        message.content = MessageContent::fromJSON(*c, jf::join(path, QStringLiteral("content")));
    if (const JSONValue* calls = jf::optional(value, QStringLiteral("tool_calls"))) {
        const QString callsPath = jf::join(path, QStringLiteral("tool_calls"));
        const auto& items = jf::array(*calls, callsPath);
        std::vector<ToolCall> decoded;
        decoded.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            decoded.push_back(ToolCall::fromJSON(items[i], jf::index(callsPath, qsizetype(i))));
        message.toolCalls = std::move(decoded);
    }
    message.toolCallID = jf::optionalString(value, QStringLiteral("tool_call_id"), path);
    return message;
}

} // namespace nolvea
