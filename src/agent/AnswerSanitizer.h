#pragma once

#include <QString>

// Cleans an answer before it is shown and spoken: links, message and thread identifiers and
// long hexadecimal codes copied from tool results go, and the spacing they leave is tidied.
namespace nolvea::AnswerSanitizer {

QString clean(const QString& text);

} // namespace nolvea::AnswerSanitizer
