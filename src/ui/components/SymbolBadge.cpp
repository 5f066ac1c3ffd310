#include "ui/components/SymbolBadge.h"

#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"

#include <QPainter>
#include <QPainterPath>

namespace nolvea {

SymbolBadge::SymbolBadge(Look look, QWidget* parent)
    : QWidget(parent)
    , m_look(std::move(look)) {
    setFixedSize(m_look.side, m_look.side);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SymbolBadge::setSymbol(const QString& symbol) {
    if (m_look.symbol == symbol) return;
    m_look.symbol = symbol;
    update();
}

void SymbolBadge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath circle;
    circle.addEllipse(disc);
    p.fillPath(circle, Brand::withOpacity(Qt::white, m_look.fill));
    if (m_look.tint.isValid()) p.fillPath(circle, m_look.tint);
    if (m_look.outlined) {
        p.setPen(QPen(Brand::withOpacity(Qt::white, 0.3), 1));
        p.drawPath(circle);
    }
    const int s = m_look.symbolSide;
    const QPixmap pm = Symbols::pixmap(m_look.symbol, s, m_look.color, devicePixelRatioF());
    if (!pm.isNull()) p.drawPixmap(QPointF((width() - s) / 2.0, (height() - s) / 2.0), pm);
}

} // namespace nolvea
