#include "ui/animation/TextMorph.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>

namespace nolvea {

TextMorph::TextMorph(QString from, QString to, const QFont& font, int width, int height,
                     Qt::Alignment alignment)
    : m_from(std::move(from))
    , m_to(std::move(to))
    , m_fromWords(layoutWords(m_from, font, width, height, alignment))
    , m_toWords(layoutWords(m_to, font, width, height, alignment))
    , m_shared(sharedPrefix(m_from, m_to)) {}

int TextMorph::sharedPrefix(const QString& from, const QString& to) {
    const int limit = std::min(from.size(), to.size());
    int k = 0;
    while (k < limit && from[k] == to[k])
        ++k;
    const auto endsWord = [k](const QString& s) { return k == s.size() || s[k].isSpace(); };
    if (endsWord(from) && endsWord(to)) return k;
    while (k > 0 && !from[k - 1].isSpace())
        --k;
    return k;
}

std::vector<TextMorph::Word> TextMorph::layoutWords(const QString& text, const QFont& font,
                                                    int width, int height,
                                                    Qt::Alignment alignment) {
    QTextLayout layout(text, font);
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    qreal top = 0;
    if (alignment & Qt::AlignVCenter)
        top = (height - y) / 2;
    else if (alignment & Qt::AlignBottom)
        top = height - y;

    std::vector<Word> words;
    for (int i = 0; i < text.size();) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        int end = i;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QTextLine line = layout.lineForTextPosition(i);
        if (line.isValid()) {
            const qreal x = line.cursorToX(i);
            words.push_back({i, end - i, QPointF(x, top + line.y() + line.ascent())});
        }
        i = end;
    }
    return words;
}

std::vector<TextMorph::Piece> TextMorph::pieces(double progress) const {
    // Words leave over the first part of the morph and arrive over the last, so the words
    // gliding past never cross a crowd of both.
    const double leaving = 1 - std::clamp(progress / (1 - kOverlap), 0.0, 1.0);
    const double arriving = std::clamp((progress - kOverlap) / (1 - kOverlap), 0.0, 1.0);
    std::vector<Piece> out;
    std::size_t glide = 0;
    while (glide < m_fromWords.size() && glide < m_toWords.size() &&
           m_fromWords[glide].start + m_fromWords[glide].length <= m_shared)
        ++glide;
    for (std::size_t i = 0; i < glide; ++i) {
        const QPointF a = m_fromWords[i].origin, b = m_toWords[i].origin;
        out.push_back(
            {m_to.mid(m_toWords[i].start, m_toWords[i].length), a + (b - a) * progress, 1.0});
    }
    for (std::size_t i = glide; i < m_fromWords.size(); ++i)
        if (leaving > 0)
            out.push_back({m_from.mid(m_fromWords[i].start, m_fromWords[i].length),
                           m_fromWords[i].origin, leaving});
    for (std::size_t i = glide; i < m_toWords.size(); ++i)
        if (arriving > 0)
            out.push_back(
                {m_to.mid(m_toWords[i].start, m_toWords[i].length), m_toWords[i].origin, arriving});
    return out;
}

} // namespace nolvea
