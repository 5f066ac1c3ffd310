#include "ui/components/MarkdownText.h"

#include "ui/components/InlineMarkdown.h"

#include <QDesktopServices>
#include <QToolTip>
#include <QUrl>

namespace nolvea {

MarkdownText::MarkdownText(const QString& markdown, QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setOpenExternalLinks(false);
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    connect(this, &QLabel::linkHovered, this, &MarkdownText::hovered);
    connect(this, &QLabel::linkActivated, this, &MarkdownText::activated);
    setMarkdown(markdown);
}

void MarkdownText::setMarkdown(const QString& markdown) {
    m_markdown = markdown;
    setText(InlineMarkdown::toHtml(markdown, m_linkColor));
    setAccessibleName(plainText());
}

void MarkdownText::setLinkColor(const QColor& color) {
    m_linkColor = color;
    setMarkdown(m_markdown);
}

QString MarkdownText::plainText() const {
    QString plain;
    for (const MarkdownRun& run : InlineMarkdown::parse(m_markdown))
        plain += run.text;
    return plain;
}

void MarkdownText::hovered(const QString& target) {
    setToolTip(target);
    if (target.isEmpty()) QToolTip::hideText();
}

void MarkdownText::activated(const QString& target) {
    // The rich text is ours, but check again: only these links ever open.
    if (!InlineMarkdown::isOpenableLink(target)) return;
    Q_EMIT linkOpened(target);
    QDesktopServices::openUrl(QUrl(target, QUrl::StrictMode));
}

} // namespace nolvea
