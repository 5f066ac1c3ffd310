#include "ui/menubar/SwitchToggle.h"

#include "ui/components/Brand.h"

#include <QPainter>

namespace nolvea {

SwitchToggle::SwitchToggle(const QString& accessibleName, QWidget* parent)
    : QAbstractButton(parent) {
    setCheckable(true);
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SwitchToggle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double r = track.height() / 2;
    p.setPen(hasFocus() ? QPen(Brand::roxoClaro(), 1.5) : QPen(Qt::NoPen));
    p.setBrush(isChecked() ? Brand::roxo() : Brand::withOpacity(Qt::white, 0.22));
    p.drawRoundedRect(track, r, r);
    const double knob = track.height() - 4;
    const double x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}

} // namespace nolvea
