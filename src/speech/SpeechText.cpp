#include "speech/SpeechText.h"

#include "support/Graphemes.h"

#include <QHash>
#include <QRegularExpression>
#include <QUrl>

#include <functional>

namespace nolvea {

namespace {

const QRegularExpression& re(const char* pattern) {
    // Each call site passes a literal: one compiled expression per pattern.
    thread_local QHash<const char*, QRegularExpression> compiled;
    auto it = compiled.find(pattern);
    if (it == compiled.end())
        it = compiled.insert(pattern,
                             QRegularExpression(QString::fromUtf8(pattern),
                                                QRegularExpression::UseUnicodePropertiesOption));
    return *it;
}

bool isPictograph(char32_t c) {
    return (c >= 0x1F000 && c <= 0x1FAFF) || (c >= 0x2600 && c <= 0x27BF) || c == 0xFE0F ||
           c == 0x200D || (c >= 0x1F1E6 && c <= 0x1F1FF);
}

QString withoutPictographs(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4())
        if (!isPictograph(c)) out += QString::fromUcs4(&c, 1);
    return out;
}

bool endsSentence(const QString& line) {
    static const QString marks = QStringLiteral(".!?…:;");
    return !line.isEmpty() && marks.contains(line.back());
}

} // namespace

QString SpeechText::prepare(const QString& input) {
    QString text = input;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Code fences go whole, inline code marks alone.
    {
        QStringList kept;
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (!line.trimmed().startsWith(QLatin1String("```"))) kept << line;
        text = kept.join(QLatin1Char('\n'));
    }
    text.remove(QLatin1Char('`'));
    // [label](address) → label; a bare address → its site.
    text.replace(re("!?\\[([^\\]]*)\\]\\([^)]*\\)"), QStringLiteral("\\1"));
    {
        QString out;
        qsizetype at = 0;
        auto it = re("\\bhttps?://[^\\s)>\\]]+").globalMatch(text);
        while (it.hasNext()) {
            const auto m = it.next();
            out += text.mid(at, m.capturedStart() - at);
            QString host = QUrl(m.captured()).host();
            if (host.startsWith(QLatin1String("www."))) host.remove(0, 4);
            out += host;
            at = m.capturedEnd();
        }
        text = out + text.mid(at);
    }
    text = withoutPictographs(text);

    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(re("^\\s*(#{1,6}\\s+|>\\s*|[-*+•]\\s+|\\d+[.)]\\s+)"));
        line.remove(re("(\\*\\*|__|~~)"));
        line.replace(re("(^|[\\s(])[*_]([^*_\\s][^*_]*)[*_](?=$|[\\s.,;:!?)])"),
                     QStringLiteral("\\1\\2"));
        line = line.simplified();
        if (line.isEmpty() || re("^[-*_=|]{3,}$").match(line).hasMatch()) continue;
        lines << line;
    }
    // Each line but the last ends as a sentence so the voice pauses there.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        if (!endsSentence(lines[i])) lines[i] += QLatin1Char('.');
    return lines.join(QLatin1Char(' '));
}

QStringList SpeechText::sentences(const QString& text, int maxLength) {
    QStringList out;
    if (maxLength <= 0) return out;

    // Sentences end at . ! ? … followed by a blank (so "3.5" and "e.g" stay whole).
    QStringList whole;
    qsizetype start = 0;
    auto it = re("[.!?…]+[\"')\\]]*(\\s+|$)").globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        whole << text.mid(start, m.capturedEnd() - start).trimmed();
        start = m.capturedEnd();
    }
    whole << text.mid(start).trimmed();

    // Cuts `s` into pieces of at most maxLength, preferring the given separators.
    std::function<void(const QString&, int)> cut = [&](const QString& s, int level) {
        if (s.isEmpty()) return;
        if (Graphemes::count(s) <= maxLength) {
            out << s;
            return;
        }
        static const char* separators[] = {"(?<=[,;:])\\s+", "\\s+"};
        if (level < 2) {
            const QStringList parts = s.split(re(separators[level]), Qt::SkipEmptyParts);
            if (parts.size() > 1) {
                const QString joiner = QStringLiteral(" ");
                QString piece;
                for (const QString& p : parts) {
                    const QString next = piece.isEmpty() ? p : piece + joiner + p;
                    if (Graphemes::count(next) <= maxLength) {
                        piece = next;
                        continue;
                    }
                    if (!piece.isEmpty()) out << piece;
                    piece.clear();
                    if (Graphemes::count(p) <= maxLength)
                        piece = p;
                    else
                        cut(p, level + 1);
                }
                if (!piece.isEmpty()) out << piece;
                return;
            }
            cut(s, level + 1);
            return;
        }
        // One word longer than the limit.
        QString rest = s;
        while (!rest.isEmpty()) {
            const QString head = Graphemes::first(rest, maxLength);
            out << head;
            rest = rest.mid(head.size());
        }
    };
    for (const QString& s : whole)
        cut(s, 0);
    return out;
}

} // namespace nolvea
