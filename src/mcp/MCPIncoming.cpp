#include "mcp/MCPIncoming.h"

namespace nolvea {

namespace {

std::optional<QString> textAt(const JSONValue& v, const QString& key) {
    if (const JSONValue* m = v.member(key)) return m->stringValue();
    return std::nullopt;
}

} // namespace

MCPIncoming MCPIncoming::read(const QByteArray& line) {
    MCPIncoming incoming;
    if (line.trimmed().isEmpty()) return incoming;
    const std::optional<JSONValue> parsed = JSONValue::parse(line);
    if (!parsed || !parsed->isObject()) return incoming;
    const JSONValue& message = *parsed;

    const JSONValue* id = message.member(QStringLiteral("id"));
    if (const auto method = textAt(message, QStringLiteral("method"))) {
        if (!id) return incoming; // a notification needs nothing
        incoming.kind = Kind::serverRequest;
        incoming.method = *method;
        incoming.id = *id;
        return incoming;
    }
    if (!id) return incoming;
    const auto idText = id->stringValue();
    bool ok = false;
    const qint64 number = idText ? idText->toLongLong(&ok) : 0;
    if (!ok) return incoming;
    incoming.number = number;

    if (const JSONValue* error = message.member(QStringLiteral("error"))) {
        incoming.kind = Kind::error;
        incoming.message = textAt(*error, QStringLiteral("message"))
                               .value_or(QStringLiteral("Erro do servidor MCP."));
        return incoming;
    }
    incoming.kind = Kind::result;
    if (const JSONValue* result = message.member(QStringLiteral("result")))
        incoming.result = *result;
    return incoming;
}

} // namespace nolvea
