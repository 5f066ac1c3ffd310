#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace nolvea {

// The one dynamic JSON value: tool schemas and arguments, provider blocks, MCP messages.
// Immutable; copies share their arrays and objects. Every number is a double. Objects keep
// their members sorted by key, which is also the order the writer uses.
class JSONValue {
public:
    enum class Type { Bool, Number, String, Array, Object, Null };
    using Array = std::vector<JSONValue>;
    using Object = std::map<QString, JSONValue>;

    JSONValue() = default; // null
    JSONValue(std::nullptr_t) {}
    JSONValue(bool b)
        : m_value(b) {}
    JSONValue(const QString& s)
        : m_value(s) {}
    JSONValue(QString&& s)
        : m_value(std::move(s)) {}
    JSONValue(const char* utf8)
        : m_value(QString::fromUtf8(utf8)) {}
    JSONValue(const char16_t* s)
        : m_value(QString::fromUtf16(s)) {}
    JSONValue(Array a)
        : m_value(std::make_shared<const Array>(std::move(a))) {}
    JSONValue(Object o)
        : m_value(std::make_shared<const Object>(std::move(o))) {}
    // Numbers are written `JSONValue::number(3)`: an int must never turn into a bool.
    template <typename T>
    requires(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) JSONValue(T)
    = delete;

    static JSONValue number(double d);
    static JSONValue null() { return {}; }
    static JSONValue array(std::initializer_list<JSONValue> items) { return Array(items); }
    static JSONValue object(std::initializer_list<std::pair<const QString, JSONValue>> members) {
        return Object(members);
    }

    Type type() const { return Type(m_value.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isBool() const { return type() == Type::Bool; }
    bool isNumber() const { return type() == Type::Number; }
    bool isString() const { return type() == Type::String; }
    bool isArray() const { return type() == Type::Array; }
    bool isObject() const { return type() == Type::Object; }

    // The payload when the value is of that case. A temporary value hands out copies of its
    // array and object: a reference into it would dangle once it is gone.
    std::optional<bool> asBool() const;
    std::optional<double> asNumber() const;
    std::optional<QString> asString() const;
    const Array& asArray() const&;   // empty unless an array
    const Object& asObject() const&; // empty unless an object
    Array asArray() const&& { return asArray(); }
    Object asObject() const&& { return asObject(); }

    // The member `key` of an object; nothing for a missing key and for every other case.
    std::optional<JSONValue> operator[](const QString& key) const;
    // Only of a value that outlives the pointer; a temporary's member is read with [].
    const JSONValue* member(const QString& key) const&;
    const JSONValue* member(const QString& key) const&& = delete;

    // A string as it is, a bool as "true"/"false", a number as text; nothing for the rest.
    std::optional<QString> stringValue() const;

    // Tool arguments: the member's text form, trimmed, a blank counting as absent.
    std::optional<QString> optional(const QString& key) const;

    // Compact JSON, keys sorted, "/" unescaped; "null" when the value cannot be written
    // (a number that is not finite).
    QString compactString() const;
    QByteArray compactBytes() const;
    // Two-space indented JSON with sorted keys; empty when the value cannot be written.
    QByteArray prettyBytes() const;

    static std::optional<JSONValue> parse(const QString& text);
    static std::optional<JSONValue> parse(const QByteArray& utf8);

    friend bool operator==(const JSONValue& a, const JSONValue& b);

private:
    // Order matches `Type`.
    std::variant<bool, double, QString, std::shared_ptr<const Array>, std::shared_ptr<const Object>,
                 std::monostate>
        m_value{std::monostate{}};
};

// Number rule shared by the writer and `stringValue`.
namespace json {
// Integral with magnitude below 1e15: written as an integer.
bool writesAsInteger(double d);
// The text a number is written as (shortest round-trip form for non-integers).
QString numberText(double d);
} // namespace json

} // namespace nolvea
