#include "support/ScriptedModel.h"

namespace nolvea::test {

namespace {
const QString kPath = QStringLiteral("/v1/chat/completions");
}

ScriptedModel::ScriptedModel() = default;

LLMClient ScriptedModel::client() const {
    return LLMClient{
        AIProvider::custom, server.url(QStringLiteral("/v1")), QStringLiteral("modelo"), {}};
}

QByteArray ScriptedModel::body(const QString& text, const std::vector<Call>& calls) {
    JSONValue::Object message{{QStringLiteral("role"), "assistant"}};
    message[QStringLiteral("content")] = text.isNull() ? JSONValue() : JSONValue(text);
    if (!calls.empty()) {
        JSONValue::Array list;
        for (const Call& c : calls)
            list.push_back(JSONValue::object(
                {{"id", c.id},
                 {"type", "function"},
                 {"function", JSONValue::object({{"name", c.name}, {"arguments", c.arguments}})}}));
        message[QStringLiteral("tool_calls")] = list;
    }
    return JSONValue::object(
               {{"choices",
                 JSONValue::array({JSONValue::object({{"message", JSONValue(message)}})})}})
        .compactBytes();
}

void ScriptedModel::reply(const QString& text, const std::vector<Call>& calls) {
    server.enqueue("POST", kPath, HttpResponse::json(body(text, calls)));
}

void ScriptedModel::fail(int status, const QByteArray& body) {
    server.enqueue("POST", kPath, HttpResponse::json(body, status));
}

void ScriptedModel::replyLate(const QString& text, int ms) {
    HttpResponse r = HttpResponse::json(body(text, {}));
    r.delayMs = ms;
    server.enqueue("POST", kPath, r);
}

int ScriptedModel::calls() const {
    return server.count(kPath);
}

JSONValue ScriptedModel::request(int n) const {
    const auto all = server.requests();
    if (n >= all.size()) return {};
    return JSONValue::parse(all.at(n).body).value_or(JSONValue());
}

JSONValue::Array ScriptedModel::messages(int n) const {
    const auto m = request(n)[QStringLiteral("messages")];
    return m ? m->asArray() : JSONValue::Array{};
}

} // namespace nolvea::test
