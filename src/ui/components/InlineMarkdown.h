#pragma once

#include <QColor>
#include <QList>
#include <QString>

namespace nolvea {

// One styled stretch of an answer: its characters exactly as they show, and its styles.
struct MarkdownRun {
    QString text{};
    bool strong = false;
    bool emphasis = false;
    bool code = false;
    bool strike = false;
    QString link{}; // the target, only for the schemes links may open; empty otherwise

    bool operator==(const MarkdownRun&) const = default;
};

// The one rendering of model text for every card: inline markdown only (bold, italic, code,
// strikethrough, links). Block syntax, line breaks and runs of spaces stay exactly as
// written, markup that does not close shows literally, and nothing in the text is ever taken
// as HTML.
class InlineMarkdown {
public:
    static QList<MarkdownRun> parse(const QString& text);
    // Rich text for a label: built by us from the runs, with every character of the text
    // escaped, so the label never interprets the model's text.
    // Links take `linkColor` when it is valid.
    static QString toHtml(const QString& text, const QColor& linkColor = {});
    static QString toHtml(const QList<MarkdownRun>& runs, const QColor& linkColor = {});
    // Links open only for http, https (with a host) and mailto.
    static bool isOpenableLink(const QString& target);

    InlineMarkdown() = delete;
};

} // namespace nolvea
