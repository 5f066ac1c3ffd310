#include "ui/components/KeyCap.h"

#include "support/Graphemes.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/BrandFont.h"
#include "ui/components/EffectsModel.h"
#include "ui/components/StatusDot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace nolvea {

KeyCap::KeyCap(QString label, double size, bool pressed, QWidget* parent)
    : QWidget(parent)
    , m_label(std::move(label))
    , m_size(size)
    , m_pressed(pressed)
    , m_press(pressed ? 1 : 0, 0.12) {
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_driver = new FrameDriver(this, [this](double dt) { return m_press.advance(dt); });
}

bool KeyCap::isDark() const {
    return palette().color(QPalette::Window).lightness() < 128;
}

QFont KeyCap::labelFont() const {
    return BrandFont::font(BrandFont::Face::semiBold, 0.46 * m_size, QFont::DemiBold);
}

void KeyCap::setPressed(bool pressed) {
    if (m_pressed == pressed) return;
    m_pressed = pressed;
    if (FrameClock::shared().reduceMotion() || !isVisible())
        m_press.jump(pressed ? 1 : 0);
    else
        m_press.retarget(pressed ? 1 : 0);
    m_driver->kick();
}

QSize KeyCap::sizeHint() const {
    const QFontMetricsF fm(labelFont());
    const double w =
        EffectsModel::keyCapWidth(fm.horizontalAdvance(m_label), m_size, Graphemes::count(m_label));
    // One pixel below for the pressed drop.
    return QSize(int(std::ceil(w)), int(std::ceil(std::max(m_size, fm.height()))) + 1);
}

void KeyCap::paintEvent(QPaintEvent*) {
    const bool dark = isDark();
    const auto up = EffectsModel::keyCapColors(false, dark);
    const auto down = EffectsModel::keyCapColors(true, dark);
    const double t = m_press.value();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, t); // the 1 px drop
    const QRectF key(0, 0, width(), height() - 1);
    const double r = 0.2 * m_size;
    QPainterPath shape;
    shape.addRoundedRect(key, r, r);
    p.fillPath(shape, StatusDot::blend(up.key, down.key, t));
    if (t < 1) {
        // The lip: the outline's bottom 2 px, fading out as the key goes down.
        p.save();
        p.setClipRect(QRectF(0, key.bottom() - 2, key.width(), 2));
        p.setOpacity(1 - t);
        p.setPen(QPen(EffectsModel::keyCapLip(dark), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(key.adjusted(0.5, 0.5, -0.5, -0.5), r - 0.5, r - 0.5);
        p.restore();
    }
    p.setFont(labelFont());
    p.setPen(StatusDot::blend(up.glyph, down.glyph, t));
    p.drawText(key, Qt::AlignCenter, m_label);
}

} // namespace nolvea
