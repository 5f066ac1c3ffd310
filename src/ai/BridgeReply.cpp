#include "ai/BridgeReply.h"

#include "support/json/JSONValue.h"

#include <QUuid>

#include <algorithm>

namespace nolvea {

const QString& BridgeReply::schema() {
    static const QString text = QStringLiteral(
        R"({"type":"object","additionalProperties":false,"required":["reply","tool_calls"],)"
        R"("properties":{"reply":{"type":"string","description":"Resposta final para a pessoa. )"
        R"(Vazia quando for chamar ferramentas."},"tool_calls":{"type":"array","items":)"
        R"({"type":"object","additionalProperties":false,"required":["name","arguments_json"],)"
        R"("properties":{"name":{"type":"string"},"arguments_json":{"type":"string",)"
        R"("description":"Objeto JSON com os argumentos, em texto"}}}}}})");
    return text;
}

ChatMessage BridgeReply::decode(const QByteArray& data, AccountBridge::CLI cli) {
    const auto bad = [cli] { return AccountBridge::BridgeError::badOutput(cli); };
    const std::optional<JSONValue> value = JSONValue::parse(data);
    if (!value || !value->isObject()) throw bad();
    const JSONValue* reply = value->member(QStringLiteral("reply"));
    const JSONValue* calls = value->member(QStringLiteral("tool_calls"));
    if (!reply || !reply->isString() || !calls || !calls->isArray()) throw bad();

    std::vector<ToolCall> toolCalls;
    for (const JSONValue& item : calls->asArray()) {
        const JSONValue* name = item.member(QStringLiteral("name"));
        const JSONValue* arguments = item.member(QStringLiteral("arguments_json"));
        if (!item.isObject() || !name || !name->isString() || !arguments || !arguments->isString())
            throw bad();
        ToolCall call;
        do {
            call.id = QStringLiteral("call_") +
                      QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
        } while (std::any_of(toolCalls.begin(), toolCalls.end(),
                             [&](const ToolCall& other) { return other.id == call.id; }));
        call.type = QStringLiteral("function");
        call.function.name = *name->asString();
        call.function.arguments = *arguments->asString();
        toolCalls.push_back(std::move(call));
    }

    ChatMessage message;
    message.role = QStringLiteral("assistant");
    message.content = MessageContent::text(*reply->asString());
    if (!toolCalls.empty()) message.toolCalls = std::move(toolCalls);
    return message;
}

} // namespace nolvea
