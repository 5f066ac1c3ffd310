#pragma once

#include "support/json/JSONValue.h"

#include <QString>

namespace nolvea {

// The model's request to run one tool. The arguments stay JSON text, as the model wrote them.
struct ToolCall {
    struct Function {
        QString name{};
        QString arguments{};
        bool operator==(const Function&) const = default;
    };

    QString id{};
    QString type{}; // "function"
    Function function{};

    JSONValue toJSON() const;
    // Every key is required and "arguments" must be a string; throws `DecodingError`.
    static ToolCall fromJSON(const JSONValue& value, const QString& path = {});

    bool operator==(const ToolCall&) const = default;
};

} // namespace nolvea
