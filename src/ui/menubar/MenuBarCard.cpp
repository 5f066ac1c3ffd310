#include "ui/menubar/MenuBarCard.h"

#include "ui/components/LiquidGlass.h"

#include <QPainter>
#include <QPainterPath>

namespace nolvea {

MenuBarCard::MenuBarCard(std::optional<QColor> tint, QWidget* parent)
    : QWidget(parent)
    , m_tint(std::move(tint)) {
    setContentsMargins(kPadding, kPadding, kPadding, kPadding);
}

void MenuBarCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    const LiquidGlass::Glass glass{m_tint};
    LiquidGlass::paintBack(p, shape, glass, Qt::transparent, false);
    LiquidGlass::paintFront(p, shape, glass, false);
}

} // namespace nolvea
