#pragma once

#include <QString>

#include <optional>

namespace nolvea {

// What the accessibility layer says about the element holding the keyboard focus.
struct FocusedText {
    QString selectedText; // "" when nothing is selected
    // The element's whole text; nothing when it is not a text element.
    std::optional<QString> value;
    // Where the selection (or the caret, when nothing is selected) starts, in UTF-16 code units
    // of `value`; nothing when the element does not say.
    std::optional<qint64> selectionStart;

    friend bool operator==(const FocusedText&, const FocusedText&) = default;
};

} // namespace nolvea
