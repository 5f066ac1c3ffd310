#include "support/json/JSONValue.h"

#include <QLocale>

#include <cmath>
#include <cstdint>

namespace nolvea {

namespace {
const JSONValue::Array kNoArray;
const JSONValue::Object kNoObject;
} // namespace

bool json::writesAsInteger(double d) {
    return std::isfinite(d) && std::trunc(d) == d && std::fabs(d) < 1e15;
}

QString json::numberText(double d) {
    if (writesAsInteger(d)) return QString::number(qint64(d));
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

JSONValue JSONValue::number(double d) {
    JSONValue v;
    v.m_value = d;
    return v;
}

std::optional<bool> JSONValue::asBool() const {
    if (auto* b = std::get_if<bool>(&m_value)) return *b;
    return std::nullopt;
}

std::optional<double> JSONValue::asNumber() const {
    if (auto* d = std::get_if<double>(&m_value)) return *d;
    return std::nullopt;
}

std::optional<QString> JSONValue::asString() const {
    if (auto* s = std::get_if<QString>(&m_value)) return *s;
    return std::nullopt;
}

const JSONValue::Array& JSONValue::asArray() const& {
    if (auto* a = std::get_if<std::shared_ptr<const Array>>(&m_value)) return **a;
    return kNoArray;
}

const JSONValue::Object& JSONValue::asObject() const& {
    if (auto* o = std::get_if<std::shared_ptr<const Object>>(&m_value)) return **o;
    return kNoObject;
}

const JSONValue* JSONValue::member(const QString& key) const& {
    auto* o = std::get_if<std::shared_ptr<const Object>>(&m_value);
    if (!o) return nullptr;
    auto it = (*o)->find(key);
    return it == (*o)->end() ? nullptr : &it->second;
}

std::optional<JSONValue> JSONValue::operator[](const QString& key) const {
    if (const JSONValue* m = member(key)) return *m;
    return std::nullopt;
}

std::optional<QString> JSONValue::stringValue() const {
    switch (type()) {
    case Type::String:
        return std::get<QString>(m_value);
    case Type::Bool:
        return std::get<bool>(m_value) ? QStringLiteral("true") : QStringLiteral("false");
    case Type::Number: {
        const double d = std::get<double>(m_value);
        // Integral values inside the signed 64-bit range print without a fraction.
        if (std::isfinite(d) && std::trunc(d) == d && d >= -9223372036854775808.0 &&
            d < 9223372036854775808.0)
            return QString::number(qint64(d));
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    default:
        return std::nullopt;
    }
}

std::optional<QString> JSONValue::optional(const QString& key) const {
    const JSONValue* m = member(key);
    if (!m) return std::nullopt;
    auto text = m->stringValue();
    if (!text) return std::nullopt;
    QString trimmed = text->trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    return trimmed;
}

bool operator==(const JSONValue& a, const JSONValue& b) {
    if (a.type() != b.type()) return false;
    switch (a.type()) {
    case JSONValue::Type::Null:
        return true;
    case JSONValue::Type::Bool:
        return *a.asBool() == *b.asBool();
    case JSONValue::Type::Number:
        return *a.asNumber() == *b.asNumber(); // NaN equals nothing
    case JSONValue::Type::String:
        return std::get<QString>(a.m_value) == std::get<QString>(b.m_value);
    case JSONValue::Type::Array:
        return a.asArray() == b.asArray();
    case JSONValue::Type::Object:
        return a.asObject() == b.asObject();
    }
    return false;
}

} // namespace nolvea
