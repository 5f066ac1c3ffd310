#include "ui/components/InlineMarkdown.h"

#include <QUrl>

namespace nolvea {

namespace {

bool isAsciiPunctuation(QChar c) {
    return (c.unicode() < 128 && c.isPunct()) || QStringLiteral("$+<=>^`|~").contains(c);
}

class Parser {
public:
    explicit Parser(const QString& text)
        : s(text) {}

    QList<MarkdownRun> runs;

    void parse(qsizetype from, qsizetype to, const MarkdownRun& style) {
        QString plain;
        auto flush = [&] {
            if (!plain.isEmpty()) add(plain, style);
            plain.clear();
        };
        qsizetype i = from;
        while (i < to) {
            const QChar c = s[i];
            if (c == u'\\' && i + 1 < to && isAsciiPunctuation(s[i + 1])) {
                plain += s[i + 1];
                i += 2;
                continue;
            }
            if (c == u'`') {
                const qsizetype n = runLength(i, to);
                const qsizetype close = codeClose(i + n, to, n);
                if (close >= 0) {
                    flush();
                    MarkdownRun code = style;
                    code.code = true;
                    add(s.mid(i + n, close - i - n), code);
                    i = close + n;
                } else {
                    plain += s.mid(i, n);
                    i += n;
                }
                continue;
            }
            if (c == u'[') {
                if (const qsizetype next = link(i, to, style, flush); next > i) {
                    i = next;
                    continue;
                }
            }
            if (c == u'<') {
                const qsizetype end = s.indexOf(u'>', i + 1);
                if (end > i && end < to) {
                    const QString target = s.mid(i + 1, end - i - 1);
                    if (!containsSpace(target) && InlineMarkdown::isOpenableLink(target)) {
                        flush();
                        MarkdownRun linked = style;
                        linked.link = target;
                        add(target, linked);
                        i = end + 1;
                        continue;
                    }
                }
            }
            if (c == u'*' || c == u'_' || c == u'~') {
                const qsizetype n = runLength(i, to);
                if (const qsizetype next = emphasis(i, n, to, style, flush); next > i) {
                    i = next;
                    continue;
                }
                plain += s.mid(i, n);
                i += n;
                continue;
            }
            plain += c;
            ++i;
        }
        flush();
    }

private:
    const QString& s;

    static bool containsSpace(const QString& t) {
        for (QChar c : t)
            if (c.isSpace()) return true;
        return false;
    }

    void add(const QString& text, const MarkdownRun& style) {
        if (text.isEmpty()) return;
        MarkdownRun run = style;
        run.text = text;
        if (!runs.isEmpty()) {
            MarkdownRun& last = runs.last();
            MarkdownRun probe = last;
            probe.text = text;
            if (probe == run) {
                last.text += text;
                return;
            }
        }
        runs.append(run);
    }

    qsizetype runLength(qsizetype i, qsizetype to) const {
        qsizetype n = 1;
        while (i + n < to && s[i + n] == s[i])
            ++n;
        return n;
    }

    // The start of a run of exactly `n` backticks at or after `from`, or -1.
    qsizetype codeClose(qsizetype from, qsizetype to, qsizetype n) const {
        for (qsizetype j = from; j < to;) {
            if (s[j] != u'`') {
                ++j;
                continue;
            }
            const qsizetype m = runLength(j, to);
            if (m == n) return j;
            j += m;
        }
        return -1;
    }

    // Where a marker of `length` characters of `c` closes, scanning from `from`; -1 when it
    // does not. Escapes and code spans are skipped; the content may not be empty, nor end in
    // a space.
    qsizetype closing(qsizetype from, qsizetype to, QChar c, qsizetype length) const {
        for (qsizetype j = from; j < to;) {
            const QChar at = s[j];
            if (at == u'\\' && j + 1 < to) {
                j += 2;
                continue;
            }
            if (at == u'`') {
                const qsizetype n = runLength(j, to);
                const qsizetype close = codeClose(j + n, to, n);
                j = close >= 0 ? close + n : j + n;
                continue;
            }
            if (at != c) {
                ++j;
                continue;
            }
            const qsizetype m = runLength(j, to);
            const bool fits = m == length || (c != u'~' && m >= 3);
            const qsizetype close = j + m - length;
            const bool afterContent = close > from && !s[close - 1].isSpace();
            // Inside a word an underscore is a character, not a marker.
            const bool wordEnds = c != u'_' || j + m >= to || !s[j + m].isLetterOrNumber();
            if (fits && afterContent && wordEnds) return close;
            j += m;
        }
        return -1;
    }

    qsizetype emphasis(qsizetype i, qsizetype n, qsizetype to, const MarkdownRun& style,
                       const std::function<void()>& flush) {
        const QChar c = s[i];
        if (c == u'_' && i > 0 && s[i - 1].isLetterOrNumber()) return i;
        if (i + n >= to || s[i + n].isSpace()) return i;
        const QList<qsizetype> lengths = c == u'~' ? QList<qsizetype>{2}
                                         : n >= 2  ? QList<qsizetype>{2, 1}
                                                   : QList<qsizetype>{1};
        for (qsizetype length : lengths) {
            if (length > n) continue;
            const qsizetype close = closing(i + length, to, c, length);
            if (close < 0) continue;
            flush();
            MarkdownRun inner = style;
            if (c == u'~')
                inner.strike = true;
            else if (length == 2)
                inner.strong = true;
            else
                inner.emphasis = true;
            parse(i + length, close, inner);
            return close + length;
        }
        return i;
    }

    // [label](target): the label keeps its styles; the target is kept only when it may be
    // opened, so any other link reads as its label alone.
    qsizetype link(qsizetype i, qsizetype to, const MarkdownRun& style,
                   const std::function<void()>& flush) {
        int depth = 0;
        qsizetype close = -1;
        for (qsizetype j = i; j < to; ++j) {
            if (s[j] == u'\\') {
                ++j;
                continue;
            }
            if (s[j] == u'[') ++depth;
            if (s[j] == u']' && --depth == 0) {
                close = j;
                break;
            }
        }
        if (close < 0 || close + 1 >= to || s[close + 1] != u'(') return i;
        // The target ends at the parenthesis that balances the opening one.
        qsizetype end = -1;
        for (qsizetype j = close + 2, open = 1; j < to; ++j) {
            if (s[j] == u'(') ++open;
            if (s[j] == u')' && --open == 0) {
                end = j;
                break;
            }
        }
        if (end < 0) return i;
        QString target = s.mid(close + 2, end - close - 2).trimmed();
        if (target.startsWith(u'<') && target.endsWith(u'>'))
            target = target.mid(1, target.size() - 2);
        if (containsSpace(target)) return i;
        flush();
        MarkdownRun inner = style;
        inner.link = InlineMarkdown::isOpenableLink(target) ? target : QString();
        parse(i + 1, close, inner);
        return end + 1;
    }
};

} // namespace

QList<MarkdownRun> InlineMarkdown::parse(const QString& text) {
    Parser parser(text);
    parser.parse(0, text.size(), {});
    return parser.runs;
}

bool InlineMarkdown::isOpenableLink(const QString& target) {
    if (target.isEmpty()) return false;
    for (QChar c : target)
        if (c.isSpace() || c.category() == QChar::Other_Control) return false;
    const QUrl url(target, QUrl::StrictMode);
    if (!url.isValid()) return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https") return !url.host().isEmpty();
    if (scheme == u"mailto") return !url.path().isEmpty();
    return false;
}

QString InlineMarkdown::toHtml(const QString& text, const QColor& linkColor) {
    return toHtml(parse(text), linkColor);
}

QString InlineMarkdown::toHtml(const QList<MarkdownRun>& runs, const QColor& linkColor) {
    QString html = QStringLiteral("<span style=\"white-space: pre-wrap\">");
    for (const MarkdownRun& run : runs) {
        QString body = run.text.toHtmlEscaped();
        body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        body.replace(u'\r', u'\n');
        body.replace(QStringLiteral("\n"), QStringLiteral("<br>"));
        QString open, close;
        auto wrap = [&](const QString& tag, const QString& attributes = {}) {
            open += u'<' + tag + attributes + u'>';
            close.prepend(QStringLiteral("</") + tag + u'>');
        };
        if (!run.link.isEmpty()) {
            QString attributes = QStringLiteral(" href=\"") + run.link.toHtmlEscaped() + u'"';
            if (linkColor.isValid())
                attributes += QStringLiteral(" style=\"color: %1\"").arg(linkColor.name());
            wrap(QStringLiteral("a"), attributes);
        }
        if (run.strong) wrap(QStringLiteral("b"));
        if (run.emphasis) wrap(QStringLiteral("i"));
        if (run.strike) wrap(QStringLiteral("s"));
        if (run.code)
            wrap(QStringLiteral("code"),
                 QStringLiteral(" style=\"background-color: rgba(255,255,255,30)\""));
        html += open + body + close;
    }
    html += QStringLiteral("</span>");
    return html;
}

} // namespace nolvea
