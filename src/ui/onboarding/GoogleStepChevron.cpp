#include "ui/onboarding/GoogleStepChevron.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"

#include <QPainter>

namespace nolvea {

GoogleStepChevron::GoogleStepChevron(QWidget* parent)
    : QWidget(parent) {
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_driver = new FrameDriver(this, [this](double dt) { return m_turn.advance(dt); });
}

void GoogleStepChevron::setOpen(bool open) {
    const double target = open ? 180 : 0;
    if (target == m_turn.target()) return;
    // The card's change, with the same spring as the rest of it.
    m_driver->animate(m_turn, target, Theme::gentle());
}

void GoogleStepChevron::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(width() / 2.0, height() / 2.0);
    p.rotate(m_turn.value());
    p.drawPixmap(QPointF(-kSide / 2.0, -kSide / 2.0),
                 Symbols::pixmap(QStringLiteral("chevron.down"), kSide, Brand::suave(),
                                 devicePixelRatioF()));
}

} // namespace nolvea
