#pragma once

#include <QString>

namespace nolvea {

// One result of a recognizer: settled text, or a guess that later results replace.
struct SpeechResult {
    QString text;
    bool isFinal = false;
};

} // namespace nolvea
