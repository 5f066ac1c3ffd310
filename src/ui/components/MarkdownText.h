#pragma once

#include <QLabel>

namespace nolvea {

// Model text on a card, rendered through `InlineMarkdown`: selectable, its allowed links
// clickable with the target as a tooltip, and read by a screen reader as the plain text.
class MarkdownText : public QLabel {
    Q_OBJECT

public:
    explicit MarkdownText(const QString& markdown = {}, QWidget* parent = nullptr);

    QString markdown() const { return m_markdown; }
    void setMarkdown(const QString& markdown);
    void setLinkColor(const QColor& color);
    // The text as it reads, without markup.
    QString plainText() const;

Q_SIGNALS:
    // A link the user chose; only openable targets ever reach it.
    void linkOpened(const QString& target);

private:
    void hovered(const QString& target);
    void activated(const QString& target);

    QString m_markdown;
    QColor m_linkColor;
};

} // namespace nolvea
