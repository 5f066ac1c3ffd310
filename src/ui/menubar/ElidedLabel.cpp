#include "ui/menubar/ElidedLabel.h"

#include <QFontMetrics>

namespace nolvea {

ElidedLabel::ElidedLabel(QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidedLabel::setFullText(const QString& text) {
    if (text == m_full && !QLabel::text().isNull()) return;
    m_full = text;
    setAccessibleName(text);
    refit();
    updateGeometry();
}

QSize ElidedLabel::minimumSizeHint() const {
    return {0, QFontMetrics(font()).height()};
}

QSize ElidedLabel::sizeHint() const {
    return {QFontMetrics(font()).horizontalAdvance(m_full), QFontMetrics(font()).height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    refit();
}

void ElidedLabel::refit() {
    // Line breaks of outside text would make a second line: one line it is.
    QString line = m_full;
    line.replace(u'\n', u' ');
    QLabel::setText(QFontMetrics(font()).elidedText(line, Qt::ElideRight, std::max(0, width())));
}

} // namespace nolvea
