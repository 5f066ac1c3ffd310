#include "ui/components/SettingsSwitch.h"

#include "ui/components/Brand.h"

#include <QPainter>

namespace nolvea {

SettingsSwitch::SettingsSwitch(QWidget* parent)
    : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

void SettingsSwitch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const double r = track.height() / 2;
    QColor fill = isChecked() ? Brand::roxo() : Brand::nevoa();
    if (!isEnabled()) fill = Brand::withOpacity(fill, 0.4);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(track, r, r);
    const double knob = track.height() - 4;
    const double x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
    if (hasFocus()) {
        p.setPen(QPen(Brand::withOpacity(Brand::roxo(), 0.5), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(track, r, r);
    }
}

} // namespace nolvea
