#include "ui/components/SiteButton.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/StatusDot.h"
#include "ui/components/Symbols.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace nolvea {

namespace {

constexpr int kSymbolGap = 5;

int symbolSide(const QFont& font) {
    return int(std::round(QFontMetricsF(font).ascent()));
}

QPainterPath shapeOf(const QRectF& r) {
    QPainterPath path;
    path.addRoundedRect(r, SiteKit::kButtonRadius, SiteKit::kButtonRadius);
    return path;
}

} // namespace

SiteButton* SiteButton::small(const QString& text, SiteKit::Kind kind) {
    auto* b = new SiteButton(text, kind, SiteKit::Size::small);
    b->setAccessibleName(text);
    return b;
}

SiteButton::SiteButton(const QString& text, SiteKit::Kind kind, SiteKit::Size size, QWidget* parent)
    : QAbstractButton(parent)
    , m_kind(kind)
    , m_size(size) {
    setText(text);
    setFont(SiteKit::buttonFont(size));
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_driver = new FrameDriver(this, [this](double dt) {
        bool moving = m_hoverAmount.advance(dt);
        return m_scale.advance(dt) || moving;
    });
    connect(this, &QAbstractButton::pressed, this,
            [this] { m_driver->animate(m_scale, SiteKit::kPressedScale, Theme::snappy()); });
    connect(this, &QAbstractButton::released, this,
            [this] { m_driver->animate(m_scale, 1, Theme::snappy()); });
}

void SiteButton::setSymbol(const QString& name, SymbolPlace place) {
    if (m_symbol == name && m_symbolPlace == place) return;
    m_symbol = name;
    m_symbolPlace = place;
    updateGeometry();
    update();
}

QSize SiteButton::sizeHint() const {
    const auto m = SiteKit::metrics(m_kind, m_size);
    const QFontMetricsF fm(font());
    double w = fm.horizontalAdvance(text()) + 2 * m.horizontalPadding;
    if (!m_symbol.isEmpty()) w += symbolSide(font()) + kSymbolGap;
    const double h = std::max(m.minimumHeight, fm.height());
    return QSize(int(std::ceil(w)), int(std::ceil(h)));
}

bool SiteButton::hitButton(const QPoint& pos) const {
    return shapeOf(rect()).contains(QPointF(pos) + QPointF(0.5, 0.5));
}

void SiteButton::setHover(bool hover) {
    if (m_hover == hover) return;
    m_hover = hover;
    if (FrameClock::shared().reduceMotion())
        m_hoverAmount.jump(hover ? 1 : 0);
    else
        m_hoverAmount.retarget(hover ? 1 : 0);
    m_driver->kick();
}

void SiteButton::mouseMoveEvent(QMouseEvent* e) {
    setHover(hitButton(e->position().toPoint()));
    QAbstractButton::mouseMoveEvent(e);
}

void SiteButton::leaveEvent(QEvent* e) {
    setHover(false);
    QAbstractButton::leaveEvent(e);
}

void SiteButton::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) update();
    QAbstractButton::changeEvent(e);
}

SiteKit::ButtonLook SiteButton::currentLook() const {
    const bool enabled = isEnabled();
    const auto rest = SiteKit::look(m_kind, false, enabled);
    if (!enabled) return rest;
    const auto hovered = SiteKit::look(m_kind, true, enabled);
    const double t = m_hoverAmount.value();
    auto out = rest;
    out.fill = StatusDot::blend(rest.fill, hovered.fill, t);
    out.ink = StatusDot::blend(rest.ink, hovered.ink, t);
    return out;
}

void SiteButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const auto look = currentLook();
    p.setOpacity(look.opacity);
    const double s = m_scale.value();
    const QPointF c = QRectF(rect()).center();
    p.translate(c);
    p.scale(s, s);
    p.translate(-c);
    const QRectF r = rect();
    p.fillPath(shapeOf(r), look.fill);
    if (look.border) {
        const double w = look.borderWidth;
        p.setPen(QPen(*look.border, w));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(w / 2, w / 2, -w / 2, -w / 2), SiteKit::kButtonRadius - w / 2,
                          SiteKit::kButtonRadius - w / 2);
    }
    p.setPen(look.ink);
    p.setFont(font());
    const QPixmap symbol = m_symbol.isEmpty() ? QPixmap()
                                              : Symbols::pixmap(m_symbol, symbolSide(font()),
                                                                look.ink, devicePixelRatioF());
    if (symbol.isNull()) {
        p.drawText(r, Qt::AlignCenter, text());
        return;
    }
    // The symbol and the text centred together.
    const int side = symbolSide(font());
    const double textWidth = QFontMetricsF(font()).horizontalAdvance(text());
    const double left = r.center().x() - (side + kSymbolGap + textWidth) / 2;
    const bool trailing = m_symbolPlace == SymbolPlace::trailing;
    const double textLeft = trailing ? left : left + side + kSymbolGap;
    const double symbolLeft = trailing ? left + textWidth + kSymbolGap : left;
    p.drawPixmap(QPointF(symbolLeft, r.center().y() - side / 2.0), symbol);
    p.drawText(QRectF(textLeft, r.top(), textWidth + 1, r.height()),
               Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace nolvea
