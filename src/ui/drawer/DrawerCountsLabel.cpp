#include "ui/drawer/DrawerCountsLabel.h"

#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/Blur.h"
#include "ui/drawer/DrawerMotion.h"

#include <QPainter>
#include <QStyle>

#include <cmath>

namespace nolvea {

DrawerCountsLabel::DrawerCountsLabel(QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    m_driver = new FrameDriver(this, [this](double dt) { return step(dt); });
}

void DrawerCountsLabel::setCounts(const QString& text) {
    const QString shown = this->text();
    if (text == shown) return;
    setText(text);
    // A change while rolling starts again from the text it was rolling to.
    if (!isVisible() || FrameClock::shared().reduceMotion() || shown.isEmpty()) {
        m_pieces.clear();
        m_progress.jump(1);
        update();
        return;
    }
    m_from = shown;
    m_pieces = DrawerCountMotion::pieces(shown, text);
    m_direction = DrawerCountMotion::direction(shown, text);
    m_progress.jump(0);
    m_driver->animate(m_progress, 1, DrawerMotion::spring(DrawerMotion::Change::counts));
}

bool DrawerCountsLabel::isRolling() const {
    return !m_pieces.isEmpty() && !m_progress.isSettled();
}

bool DrawerCountsLabel::step(double dt) {
    const bool moving = m_progress.advance(dt);
    if (!moving) m_pieces.clear();
    return moving;
}

void DrawerCountsLabel::paintEvent(QPaintEvent* e) {
    if (m_pieces.isEmpty()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    const QFontMetricsF fm(font());
    const QRectF area = contentsRect();
    const double baseline = area.top() + (area.height() - fm.height()) / 2 + fm.ascent();
    const QColor ink = palette().color(foregroundRole());
    const double t = m_progress.value();
    const auto xOf = [&](const QString& text, int index) {
        return area.left() + fm.horizontalAdvance(text.left(index));
    };
    const QString to = text();
    const qreal dpr = devicePixelRatioF();
    for (const DrawerCountMotion::Piece& piece : m_pieces) {
        double x = 0;
        if (piece.from >= 0 && piece.to >= 0)
            x = xOf(m_from, piece.from) + (xOf(to, piece.to) - xOf(m_from, piece.from)) * t;
        else if (piece.to >= 0)
            x = xOf(to, piece.to);
        else
            x = xOf(m_from, piece.from);
        const TransitionLook look =
            DrawerCountMotion::look(piece.role, t, m_direction, fm.height());
        if (look.opacity <= 0.01) continue;
        const QRectF box(x, baseline - fm.ascent(), fm.horizontalAdvance(piece.text), fm.height());
        p.save();
        p.setOpacity(look.opacity);
        p.setTransform(look.transform(box), true);
        if (look.blur > 0.05) {
            // The piece drawn apart and softened, as the digit is on its way.
            const int pad = int(std::ceil(3 * look.blur));
            const QSize size = (box.size().toSize() + QSize(2 * pad + 2, 2 * pad)) * dpr;
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                QPainter ip(&image);
                ip.scale(dpr, dpr);
                ip.setRenderHint(QPainter::TextAntialiasing);
                ip.setFont(font());
                ip.setPen(ink);
                ip.drawText(QPointF(pad, pad + fm.ascent()), piece.text);
            }
            image = blurred(image, look.blur * dpr);
            image.setDevicePixelRatio(dpr);
            p.drawImage(QPointF(box.left() - pad, box.top() - pad), image);
        } else {
            p.setPen(ink);
            p.drawText(QPointF(box.left(), baseline), piece.text);
        }
        p.restore();
    }
}

} // namespace nolvea
