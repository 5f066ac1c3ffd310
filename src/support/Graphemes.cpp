#include "support/Graphemes.h"

#include <QTextBoundaryFinder>

namespace nolvea::Graphemes {

namespace {

// Code units are never fewer than characters: a text of at most n units needs no finder.
bool plainlyShort(const QString& text, qsizetype n) {
    return text.size() <= n;
}

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80 || c == u'\r') return false;
    return true;
}

} // namespace

qsizetype count(const QString& text) {
    if (isAscii(text)) return text.size();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype n = 0;
    while (finder.toNextBoundary() != -1)
        ++n;
    return n;
}

QString first(const QString& text, qsizetype n) {
    if (n <= 0) return {};
    if (plainlyShort(text, n)) return text;
    if (isAscii(text)) return text.left(n);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype seen = 0;
    qsizetype pos = 0;
    while (seen < n) {
        const qsizetype next = finder.toNextBoundary();
        if (next == -1) return text;
        pos = next;
        ++seen;
    }
    return text.left(pos);
}

QString last(const QString& text, qsizetype n) {
    if (n <= 0) return {};
    if (plainlyShort(text, n)) return text;
    if (isAscii(text)) return text.right(n);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.toEnd();
    qsizetype seen = 0;
    qsizetype pos = text.size();
    while (seen < n) {
        const qsizetype prev = finder.toPreviousBoundary();
        if (prev == -1 || prev == 0) return text;
        pos = prev;
        ++seen;
    }
    return text.mid(pos);
}

} // namespace nolvea::Graphemes
