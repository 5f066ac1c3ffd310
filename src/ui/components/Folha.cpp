#include "ui/components/Folha.h"

#include "ui/components/SiteKit.h"

#include <QPainter>

#include <cmath>

namespace nolvea {

Folha::Folha(double padding, double radius, bool highlighted, QWidget* parent)
    : QWidget(parent)
    , m_radius(radius)
    , m_highlighted(highlighted) {
    const int pad = int(std::lround(padding));
    setContentsMargins(pad, pad, pad, pad);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAttribute(Qt::WA_TranslucentBackground);
}

void Folha::setHighlighted(bool highlighted) {
    if (m_highlighted == highlighted) return;
    m_highlighted = highlighted;
    update();
}

void Folha::paintEvent(QPaintEvent*) {
    QPainter p(this);
    SiteKit::paintSheet(p, rect(), m_radius, m_highlighted);
}

} // namespace nolvea
