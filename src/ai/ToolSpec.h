#pragma once

#include "support/json/JSONValue.h"

#include <QString>

namespace nolvea {

// A tool offered to the model: its name, description and the JSON Schema of its arguments.
// Only ever written.
struct ToolSpec {
    struct Function {
        QString name{};
        QString description{};
        JSONValue parameters{};
        bool operator==(const Function&) const = default;
    };

    QString type{}; // "function"
    Function function{};

    JSONValue toJSON() const;

    bool operator==(const ToolSpec&) const = default;
};

} // namespace nolvea
