#include "ui/onboarding/Badge.h"

#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/onboarding/OnboardingFonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace nolvea {

namespace {
constexpr int kBadgeSymbol = 8;
constexpr int kBadgeGap = 3;
} // namespace

Badge::Badge(const QString& text, const QColor& color, QWidget* parent, const QString& symbol)
    : QWidget(parent)
    , m_text(text)
    , m_color(color)
    , m_symbol(Symbols::isKnown(symbol) ? symbol : QString()) {
    setAccessibleName(text);
    setFont(OnboardingFonts::brand(10.5, OnboardingFonts::Weight::semibold));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Badge::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize Badge::sizeHint() const {
    const QFontMetricsF m(font());
    const double symbol = m_symbol.isEmpty() ? 0 : kBadgeSymbol + kBadgeGap;
    return QSize(int(std::ceil(symbol + m.horizontalAdvance(m_text) + 14)),
                 int(std::ceil(m.height() + 6)));
}

void Badge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    QPainterPath capsule;
    capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
    p.fillPath(capsule, Brand::withOpacity(m_color, 0.1));
    const QFontMetricsF m(font());
    const double textWidth = m.horizontalAdvance(m_text);
    const double symbol = m_symbol.isEmpty() ? 0 : kBadgeSymbol + kBadgeGap;
    double x = (r.width() - textWidth - symbol) / 2;
    if (!m_symbol.isEmpty()) {
        p.drawPixmap(QPointF(x, (r.height() - kBadgeSymbol) / 2),
                     Symbols::pixmap(m_symbol, kBadgeSymbol, m_color, devicePixelRatioF()));
        x += symbol;
    }
    p.setPen(m_color);
    p.setFont(font());
    p.drawText(QRectF(x, 0, textWidth + 1, r.height()), Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

} // namespace nolvea
