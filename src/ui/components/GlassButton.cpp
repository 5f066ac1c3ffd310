#include "ui/components/GlassButton.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/Symbols.h"

#include <QPainter>
#include <QPainterPath>

namespace nolvea {

namespace {
constexpr int kGap = 6;
} // namespace

GlassButton::GlassButton(Look look, QWidget* parent)
    : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setLook(std::move(look));
}

void GlassButton::setLook(Look look) {
    m_look = std::move(look);
    if (!m_look.title.isEmpty()) setAccessibleName(m_look.title);
    setText(m_look.title);
    updateGeometry();
    update();
}

QFont GlassButton::titleFont() const {
    QFont f = font();
    BrandFont::setPixels(f, m_look.large ? 13 : 12);
    f.setWeight(QFont::Medium);
    return f;
}

QFont GlassButton::hintFont() const {
    QFont f = font();
    BrandFont::setPixels(f, 10);
    f.setWeight(QFont::DemiBold);
    return f;
}

int GlassButton::symbolSide() const {
    return m_look.title.isEmpty() ? (m_look.large ? 16 : 13) : 11;
}

int GlassButton::capsuleHeight() const {
    return m_look.large ? 32 : 26;
}

QSize GlassButton::sizeHint() const {
    const int h = capsuleHeight();
    if (m_look.title.isEmpty()) return {h, h};
    int w = QFontMetrics(titleFont()).horizontalAdvance(m_look.title);
    if (!m_look.keyHint.isEmpty())
        w += kGap + QFontMetrics(hintFont()).horizontalAdvance(m_look.keyHint);
    if (!m_look.symbol.isEmpty()) w += kGap + symbolSide();
    return {w + (m_look.large ? 28 : 22), h};
}

QRect GlassButton::symbolRect() const {
    if (m_look.symbol.isEmpty()) return {};
    const int side = symbolSide();
    const int top = m_look.title.isEmpty() ? (height() - side) / 2 : height() / 2 - side / 2;
    if (m_look.title.isEmpty()) return {(width() - side) / 2, top, side, side};
    // The same walk as the painting's.
    int x = (width() - (sizeHint().width() - (m_look.large ? 28 : 22))) / 2;
    if (!m_look.symbolFirst) {
        x += QFontMetrics(titleFont()).horizontalAdvance(m_look.title) + kGap;
        if (!m_look.keyHint.isEmpty())
            x += QFontMetrics(hintFont()).horizontalAdvance(m_look.keyHint) + kGap;
    }
    return {x, top, side, side};
}

void GlassButton::setSymbolDrawn(bool drawn) {
    if (m_symbolDrawn == drawn) return;
    m_symbolDrawn = drawn;
    update();
}

void GlassButton::enterEvent(QEnterEvent* e) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(e);
}

void GlassButton::leaveEvent(QEvent* e) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void GlassButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    const double corner = m_look.corner.value_or(r.height() / 2);
    shape.addRoundedRect(r, corner, corner);
    const double lift = isDown() ? -0.06 : m_hover ? 0.06 : 0;
    if (m_look.prominent) {
        QColor fill = *m_look.prominent;
        if (lift != 0) fill = lift > 0 ? fill.lighter(112) : fill.darker(112);
        p.fillPath(shape, fill);
        p.setPen(QPen(Brand::withOpacity(Qt::white, 0.3), 1));
    } else {
        p.fillPath(shape, Brand::withOpacity(Qt::white, 0.14 + lift));
        p.setPen(QPen(Brand::withOpacity(Qt::white, 0.28), 1));
    }
    p.drawPath(shape);

    const QColor base = m_look.ink.value_or(QColor(Qt::white));
    const QColor ink = isEnabled() ? base : Brand::withOpacity(base, 0.4);
    const int side = symbolSide();
    if (m_look.title.isEmpty()) {
        if (!m_symbolDrawn) return;
        const QPixmap pm = Symbols::pixmap(m_look.symbol, side, ink, devicePixelRatioF());
        p.drawPixmap(QPointF((width() - side) / 2.0, (height() - side) / 2.0), pm);
        return;
    }
    const QFontMetrics title(titleFont()), hint(hintFont());
    int x = (width() - (sizeHint().width() - (m_look.large ? 28 : 22))) / 2;
    const int mid = height() / 2;
    auto drawSymbol = [&] {
        if (m_symbolDrawn) {
            const QPixmap pm = Symbols::pixmap(m_look.symbol, side, ink, devicePixelRatioF());
            p.drawPixmap(QPointF(x, mid - side / 2.0), pm);
        }
        x += side + kGap;
    };
    if (!m_look.symbol.isEmpty() && m_look.symbolFirst) drawSymbol();
    p.setFont(titleFont());
    p.setPen(ink);
    p.drawText(QPoint(x, mid + (title.ascent() - title.descent()) / 2), m_look.title);
    x += title.horizontalAdvance(m_look.title) + kGap;
    if (!m_look.keyHint.isEmpty()) {
        p.setFont(hintFont());
        p.setPen(Brand::withOpacity(ink, 0.55));
        p.drawText(QPoint(x, mid + (hint.ascent() - hint.descent()) / 2), m_look.keyHint);
        x += hint.horizontalAdvance(m_look.keyHint) + kGap;
    }
    if (!m_look.symbol.isEmpty() && !m_look.symbolFirst) drawSymbol();
}

} // namespace nolvea
