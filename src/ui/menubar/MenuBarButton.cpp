#include "ui/menubar/MenuBarButton.h"

#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/menubar/MenuBarStyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace nolvea {

MenuBarButton::MenuBarButton(const QString& title, const QString& symbol, bool iconOnly, Size size,
                             std::optional<QColor> prominentTint, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_iconOnly(iconOnly)
    , m_size(size)
    , m_tint(std::move(prominentTint)) {
    setText(title);
    setAccessibleName(title);
    setFont(MenuBarStyle::font(size == Size::small ? 11 : 13, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(iconOnly ? QSizePolicy::Fixed : QSizePolicy::Maximum, QSizePolicy::Fixed);
}

int MenuBarButton::height() const {
    return m_size == Size::small ? 22 : 28;
}

int MenuBarButton::iconSide() const {
    return m_size == Size::small ? 11 : 14;
}

QSize MenuBarButton::sizeHint() const {
    const int h = height();
    if (m_iconOnly) return {h + 4, h};
    const int pad = m_size == Size::small ? 10 : 12;
    int w = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(text()))) + 2 * pad;
    if (!m_symbol.isEmpty() && Symbols::isKnown(m_symbol)) w += iconSide() + 5;
    return {w, h};
}

QSize MenuBarButton::minimumSizeHint() const {
    if (m_iconOnly) return sizeHint();
    const int pad = m_size == Size::small ? 10 : 12;
    const bool icon = !m_symbol.isEmpty() && Symbols::isKnown(m_symbol);
    return {2 * pad + (icon ? iconSide() + 5 : 0) + QFontMetrics(font()).horizontalAdvance(u'…'),
            height()};
}

void MenuBarButton::enterEvent(QEnterEvent* e) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(e);
}

void MenuBarButton::leaveEvent(QEvent* e) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void MenuBarButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) p.setOpacity(0.4);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath capsule;
    capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
    QColor fill = m_tint ? *m_tint : Brand::withOpacity(Qt::white, 0.12);
    if (isDown())
        fill = fill.darker(120);
    else if (m_hover && isEnabled())
        fill = m_tint ? fill.lighter(115) : Brand::withOpacity(Qt::white, 0.2);
    p.fillPath(capsule, fill);
    p.setPen(QPen(Brand::withOpacity(Qt::white, m_tint ? 0.25 : 0.3), 1));
    p.drawPath(capsule);
    if (hasFocus()) {
        p.setPen(QPen(Brand::roxoClaro(), 1.5));
        p.drawPath(capsule);
    }

    const QColor ink = m_tint ? QColor(Qt::white) : MenuBarStyle::primary();
    const int side = iconSide();
    const QPixmap icon = Symbols::pixmap(m_symbol, side, ink, devicePixelRatioF());
    if (m_iconOnly) {
        if (!icon.isNull())
            p.drawPixmap(QPointF((width() - side) / 2.0, (QWidget::height() - side) / 2.0), icon);
        return;
    }
    const QFontMetrics fm(font());
    const int pad = m_size == Size::small ? 10 : 12;
    const int room = width() - 2 * pad - (icon.isNull() ? 0 : side + 5);
    // The hint rounds the title's width; only a real lack of room elides it.
    const QString title = fm.horizontalAdvance(text()) <= room + 1
                              ? text()
                              : fm.elidedText(text(), Qt::ElideRight, std::max(room, 0));
    const int textWidth = fm.horizontalAdvance(title);
    const int total = textWidth + (icon.isNull() ? 0 : side + 5);
    double x = (width() - total) / 2.0;
    if (!icon.isNull()) {
        p.drawPixmap(QPointF(x, (QWidget::height() - side) / 2.0), icon);
        x += side + 5;
    }
    p.setPen(ink);
    p.setFont(font());
    p.drawText(QRectF(x, 0, textWidth + 1, QWidget::height()), Qt::AlignVCenter | Qt::AlignLeft,
               title);
}

} // namespace nolvea
