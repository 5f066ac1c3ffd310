#pragma once

#include "ui/animation/TransitionLook.h"

#include <QGraphicsEffect>

namespace nolvea {

// Draws a widget and everything in it with a transition look: scaled, moved, faded and
// blurred, without touching its layout or where it takes clicks. At rest it steps aside and
// the widget draws as usual.
class TransitionEffect : public QGraphicsEffect {
    Q_OBJECT

public:
    explicit TransitionEffect(QObject* parent = nullptr);

    const TransitionLook& look() const { return m_look; }
    void setLook(const TransitionLook& look);

    QRectF boundingRectFor(const QRectF& rect) const override;

protected:
    void draw(QPainter* painter) override;

private:
    TransitionLook m_look;
};

} // namespace nolvea
