#include "ui/notch/NotchIsland.h"

#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchEar.h"
#include "ui/notch/NotchStyle.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace nolvea {

NotchIsland::NotchIsland(QWidget* parent)
    : QWidget(parent)
    , m_left(new NotchEar(NotchEar::Side::left, this))
    , m_right(new NotchEar(NotchEar::Side::right, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void NotchIsland::setLook(const Look& look) {
    m_look = look;
    NotchEar::Content left;
    left.status = look.status;
    left.effect = look.statusEffect;
    m_left->setContent(left);
    NotchEar::Content right;
    right.right = look.right;
    right.symbols = look.rightSymbols;
    right.icon = look.targetIcon;
    right.effect = NotchMotion::rightEffect(look.right);
    m_right->setContent(right);
    placeEars();
    update();
}

void NotchIsland::resizeEvent(QResizeEvent*) {
    placeEars();
}

void NotchIsland::placeEars() {
    const int m = NotchEar::kMargin;
    m_left->setGeometry(leftEar().adjusted(-m, -m, m, m));
    m_right->setGeometry(rightEar().adjusted(-m, -m, m, m));
}

QRect NotchIsland::leftEar() const {
    const QRect b = body();
    const int e = NotchEars::earWidth(b.width(), m_look.notchWidth);
    return {b.left() + 22, 0, std::max(0, e - 14), m_look.notchHeight};
}

QRect NotchIsland::rightEar() const {
    const QRect b = body();
    const int e = NotchEars::earWidth(b.width(), m_look.notchWidth);
    const int w = std::max(0, e - 14);
    return {b.right() + 1 - 22 - w, 0, w, m_look.notchHeight};
}

void NotchIsland::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF b = body();
    const QPainterPath path = m_look.shape.path(b);

    // The glow: the outline drawn wider and fainter outwards, moved 2 px down.
    if (m_look.glow.radius > 0 && m_look.glow.color.alpha() > 0) {
        const int rings = 8;
        for (int i = rings; i >= 1; --i) {
            QColor c = m_look.glow.color;
            c.setAlphaF(c.alphaF() * 0.18 * (1.0 - double(i - 1) / rings));
            p.setPen(QPen(c, 2.0 * m_look.glow.radius * i / rings, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path.translated(0, 2));
        }
    }
    p.fillPath(path, Qt::black);
}

bool NotchIsland::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString tip = NotchEars::rightTooltip(m_look.right);
        if (!tip.isEmpty() && rightEar().contains(help->pos()))
            QToolTip::showText(help->globalPos(), tip, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

} // namespace nolvea
