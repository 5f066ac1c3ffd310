#include "support/json/Schema.h"

namespace nolvea::Schema {

JSONValue string(const QString& description) {
    return JSONValue::object(
        {{QStringLiteral("type"), "string"}, {QStringLiteral("description"), description}});
}

JSONValue boolean(const QString& description) {
    return JSONValue::object(
        {{QStringLiteral("type"), "boolean"}, {QStringLiteral("description"), description}});
}

JSONValue object(JSONValue::Object properties, const QStringList& required) {
    JSONValue::Array names;
    for (const auto& n : required)
        names.push_back(n);
    return JSONValue::object({{QStringLiteral("type"), "object"},
                              {QStringLiteral("properties"), std::move(properties)},
                              {QStringLiteral("required"), std::move(names)}});
}

} // namespace nolvea::Schema
