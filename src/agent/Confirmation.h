#pragma once

#include "support/json/JSONValue.h"

#include <QString>

#include <optional>

namespace nolvea {

// The person's answer to an `ActionPreview`.
struct Confirmation {
    enum class Choice { approve, alternate, decline };

    Choice choice = Choice::decline;
    std::optional<QString> editedValue{}; // new text for the editable argument
    JSONValue::Object edits{};            // further argument replacements (the composer's fields)

    bool operator==(const Confirmation&) const = default;
};

} // namespace nolvea
