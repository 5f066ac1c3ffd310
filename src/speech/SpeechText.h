#pragma once

#include <QString>
#include <QStringList>

namespace nolvea {

// Text as a voice should read it.
class SpeechText {
public:
    // Drops what is only for the eye: markdown marks, list bullets, code fences, emoji;
    // a link reads as its label (a bare address as its site); each line ends as a sentence;
    // runs of blanks become one.
    static QString prepare(const QString& text);
    // The text cut into sentences of at most `maxLength` characters: a longer sentence is cut
    // after a comma, semicolon or colon, else between words, and only a single overlong word
    // is cut inside.
    static QStringList sentences(const QString& text, int maxLength);
};

} // namespace nolvea
