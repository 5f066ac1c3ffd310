#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

#include <vector>

namespace nolvea {

// Where each word of a changing text stands while it morphs into the next: the words both texts
// start with glide from their old place to their new one (a centred line re-centres as words
// arrive), the words that differ fade out of the old text and into the new.
class TextMorph {
public:
    struct Word {
        int start = 0;
        int length = 0;
        QPointF origin; // baseline origin of the word's first glyph
    };
    struct Piece {
        QString text;
        QPointF origin;
        double opacity = 1;
        bool operator==(const Piece&) const = default;
    };

    // Old words are gone by 1 - kOverlap of the way; new words start to show at kOverlap.
    static constexpr double kOverlap = 0.35;

    // Lays both texts out in a box of `width` with `alignment` (horizontal and vertical), on a
    // box of `height` for vertical centring.
    TextMorph(QString from, QString to, const QFont& font, int width, int height,
              Qt::Alignment alignment);

    // Characters at the start both texts share, cut back to a word boundary: a word still being
    // spoken ("ma" → "mapa") counts as changed.
    static int sharedPrefix(const QString& from, const QString& to);
    // The words of `text` (maximal runs of non-space) laid out as a wrapped paragraph.
    static std::vector<Word> layoutWords(const QString& text, const QFont& font, int width,
                                         int height, Qt::Alignment alignment);

    // The words to draw at `progress` (0 the old text, 1 the new; a spring may overshoot, which
    // moves the gliding words past their place but never fades beyond fully shown or hidden).
    std::vector<Piece> pieces(double progress) const;

private:
    QString m_from, m_to;
    std::vector<Word> m_fromWords, m_toWords;
    int m_shared = 0;
};

} // namespace nolvea
