#pragma once

#include "ai/DecodingError.h"
#include "support/json/JSONValue.h"

#include <QString>

// Reading records out of JSON objects, with the location of a failure in the error.
namespace nolvea::jsonfields {

inline QString join(const QString& path, const QString& key) {
    return path.isEmpty() ? key : path + u'.' + key;
}

inline QString index(const QString& path, qsizetype i) {
    return path + u'[' + QString::number(i) + u']';
}

// The value as an object; throws when it is not one.
inline const JSONValue::Object& object(const JSONValue& value, const QString& path) {
    if (!value.isObject()) throw DecodingError::wrongType(path, QStringLiteral("um objeto"));
    return value.asObject();
}

inline const JSONValue::Array& array(const JSONValue& value, const QString& path) {
    if (!value.isArray()) throw DecodingError::wrongType(path, QStringLiteral("uma lista"));
    return value.asArray();
}

inline QString string(const JSONValue& value, const QString& path) {
    if (auto s = value.asString()) return *s;
    throw DecodingError::wrongType(path, QStringLiteral("um texto"));
}

// A member that must be there (null counts as there, and then fails its type test).
inline const JSONValue& required(const JSONValue& object, const QString& key, const QString& path) {
    if (const JSONValue* m = object.member(key)) return *m;
    throw DecodingError::missingKey(join(path, key));
}

// A member that may be absent or null: nullptr for both.
inline const JSONValue* optional(const JSONValue& object, const QString& key) {
    const JSONValue* m = object.member(key);
    return (m && !m->isNull()) ? m : nullptr;
}

inline QString requiredString(const JSONValue& object, const QString& key, const QString& path) {
    return string(required(object, key, path), join(path, key));
}

inline std::optional<QString> optionalString(const JSONValue& object, const QString& key,
                                             const QString& path) {
    if (const JSONValue* m = optional(object, key)) return string(*m, join(path, key));
    return std::nullopt;
}

} // namespace nolvea::jsonfields
