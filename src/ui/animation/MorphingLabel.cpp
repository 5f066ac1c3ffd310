#include "ui/animation/MorphingLabel.h"

#include "ui/animation/FrameDriver.h"

#include <QPainter>

namespace nolvea {

MorphingLabel::MorphingLabel(QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_progress.advance(dt);
        if (!moving) m_morph.reset();
        return moving;
    });
}

void MorphingLabel::morphTo(const QString& next) {
    if (next == text()) return;
    m_from = text();
    setText(next);
    if (m_from.isEmpty() || next.isEmpty() || !isVisible()) {
        m_progress.jump(1);
        m_morph.reset();
        return;
    }
    m_progress.jump(0);
    rebuild();
    m_driver->animate(m_progress, 1, Theme::snappy());
    if (m_progress.isSettled()) m_morph.reset();
}

void MorphingLabel::setRestingSize(QSize size) {
    if (size == m_restingSize) return;
    m_restingSize = size;
    if (m_morph) rebuild();
}

QRect MorphingLabel::layoutBox() const {
    const QRect box = contentsRect();
    if (m_restingSize.isEmpty()) return box;
    QRect resting(QPoint(), m_restingSize);
    resting.moveCenter(box.center());
    return resting;
}

void MorphingLabel::rebuild() {
    const QRect box = layoutBox();
    m_morph.emplace(m_from, text(), font(), box.width(), box.height(), alignment());
}

void MorphingLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    // Only the resting size decides where words go, when it is known.
    if (m_morph && m_restingSize.isEmpty()) rebuild();
}

void MorphingLabel::paintEvent(QPaintEvent* event) {
    if (!m_morph) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.setClipRect(contentsRect());
    p.setFont(font());
    p.setPen(palette().color(foregroundRole()));
    const QPointF offset = layoutBox().topLeft();
    for (const TextMorph::Piece& piece : m_morph->pieces(m_progress.value())) {
        p.setOpacity(piece.opacity);
        p.drawText(offset + piece.origin, piece.text);
    }
}

} // namespace nolvea
