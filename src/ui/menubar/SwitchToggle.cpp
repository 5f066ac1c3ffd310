#include "ui/menubar/SwitchToggle.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"

#include <QPainter>

#include <algorithm>

namespace nolvea {

SwitchToggle::SwitchToggle(const QString& accessibleName, QWidget* parent)
    : QAbstractButton(parent) {
    setCheckable(true);
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_driver = new FrameDriver(this, [this](double dt) { return m_knob.advance(dt); });
    connect(this, &QAbstractButton::toggled, this,
            [this](bool on) { m_driver->animate(m_knob, on ? 1 : 0, Theme::snappy()); });
}

void SwitchToggle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double r = track.height() / 2;
    p.setPen(hasFocus() ? QPen(Brand::roxoClaro(), 1.5) : QPen(Qt::NoPen));
    const double on = std::clamp(m_knob.value(), 0.0, 1.0);
    const QColor off = Brand::withOpacity(Qt::white, 0.22), lit = Brand::roxo();
    auto mix = [on](double a, double b) { return a + (b - a) * on; };
    p.setBrush(QColor::fromRgbF(mix(off.redF(), lit.redF()), mix(off.greenF(), lit.greenF()),
                                mix(off.blueF(), lit.blueF()), mix(off.alphaF(), lit.alphaF())));
    p.drawRoundedRect(track, r, r);
    const double knob = track.height() - 4;
    const double x = track.left() + 2 + (track.width() - 4 - knob) * m_knob.value();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}

} // namespace nolvea
