#include "ui/components/Wordmark.h"

#include "ui/components/BrandFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace nolvea {

Wordmark::Wordmark(double size, QBrush style, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_style(std::move(style)) {
    setAccessibleName(text());
    setAttribute(Qt::WA_TranslucentBackground);
}

QFont Wordmark::fontFor(double size) {
    QFont f = BrandFont::font(BrandFont::Face::semiBold, size, QFont::DemiBold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, tracking(size));
    return f;
}

QSize Wordmark::sizeHint() const {
    const QFontMetricsF fm(fontFor(m_size));
    return QSizeF(fm.horizontalAdvance(text()), fm.height()).toSize() + QSize(1, 1);
}

void Wordmark::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont f = fontFor(m_size);
    const QFontMetricsF fm(f);
    QPainterPath path;
    path.addText(QPointF(0, fm.ascent()), f, text());
    p.fillPath(path, m_style);
}

} // namespace nolvea
