#pragma once

#include <QString>

// Lengths and cuts of texts in user-perceived characters (extended grapheme clusters).
namespace nolvea::Graphemes {

qsizetype count(const QString& text);
// The first `n` characters (all of the text when it is shorter).
QString first(const QString& text, qsizetype n);
// The last `n` characters (all of the text when it is shorter).
QString last(const QString& text, qsizetype n);

} // namespace nolvea::Graphemes
