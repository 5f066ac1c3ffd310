#pragma once

#include <QString>

namespace nolvea {

// Whether inserted text needs a space between it and the text before the caret.
class TextJoiner {
public:
    // `text`, with one leading space when it would otherwise stick to the end of `previous`.
    static QString prepare(const QString& text, const QString& previous);
};

} // namespace nolvea
