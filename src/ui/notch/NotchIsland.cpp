#include "ui/notch/NotchIsland.h"

#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchStyle.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace nolvea {

NotchIsland::NotchIsland(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void NotchIsland::setLook(const Look& look) {
    m_look = look;
    update();
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

    if (m_look.status) {
        const auto& s = *m_look.status;
        const QRect ear = leftEar();
        const int side = s.size + 4;
        p.drawPixmap(QRect(ear.left(), ear.center().y() - side / 2, side, side),
                     NotchStyle::symbol(s.name, side, s.color));
    }

    const QRect right = rightEar();
    int x = right.right() + 1;
    const int cy = right.center().y();
    if (m_look.right == NotchEars::Right::unseen) {
        const QColor dot = Theme::dictation().accent;
        QColor halo = dot;
        halo.setAlphaF(0.35);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QPointF(x - 4.5, cy + 0.5), 7.5, 7.5);
        p.setBrush(dot);
        p.drawEllipse(QPointF(x - 4.5, cy + 0.5), 3.5, 3.5);
        return;
    }
    if (!m_look.targetIcon.isNull() && m_look.right == NotchEars::Right::target) {
        x -= 18;
        p.drawImage(QRect(x, cy - 9, 18, 18), m_look.targetIcon);
        x -= 6;
    }
    for (auto it = m_look.rightSymbols.rbegin(); it != m_look.rightSymbols.rend(); ++it) {
        const int side = it->size + 4;
        x -= side;
        p.drawPixmap(QRect(x, cy - side / 2, side, side),
                     NotchStyle::symbol(it->name, side, it->color));
        x -= 6;
    }
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
