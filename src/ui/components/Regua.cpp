#include "ui/components/Regua.h"

#include "ui/components/SiteKit.h"

#include <QPainter>

#include <cmath>

namespace nolvea {

Regua::Regua(bool forte, QWidget* parent)
    : QWidget(parent)
    , m_forte(forte) {
    setFixedHeight(int(std::ceil(SiteKit::ruleHeight(forte))));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Regua::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, width(), SiteKit::ruleHeight(m_forte)), SiteKit::ruleColor(m_forte));
}

} // namespace nolvea
