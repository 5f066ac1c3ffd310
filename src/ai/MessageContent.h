#pragma once

#include "ai/ContentPart.h"
#include "support/json/JSONValue.h"

#include <QString>

#include <variant>
#include <vector>

namespace nolvea {

// A message body: plain text, or a list of parts (one of which may be an image). Its JSON
// form is a bare string or a bare array.
class MessageContent {
public:
    static MessageContent text(QString text) { return MessageContent(std::move(text)); }
    static MessageContent parts(std::vector<ContentPart> parts) {
        return MessageContent(std::move(parts));
    }

    bool isText() const { return m_value.index() == 0; }
    bool isParts() const { return m_value.index() == 1; }
    // The payload when the content is of that case.
    std::optional<QString> asText() const;
    const std::vector<ContentPart>& asParts() const&; // empty unless parts
    // A temporary hands out a copy, which cannot dangle.
    std::vector<ContentPart> asParts() const&& { return asParts(); }

    JSONValue toJSON() const;
    // A string gives text, else an array gives parts; otherwise the array attempt's error.
    static MessageContent fromJSON(const JSONValue& value, const QString& path = {});

    bool operator==(const MessageContent&) const = default;

private:
    explicit MessageContent(QString text)
        : m_value(std::move(text)) {}
    explicit MessageContent(std::vector<ContentPart> parts)
        : m_value(std::move(parts)) {}

    std::variant<QString, std::vector<ContentPart>> m_value;
};

} // namespace nolvea
