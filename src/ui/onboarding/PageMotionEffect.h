#pragma once

#include "ui/onboarding/MotionLook.h"

#include <QGraphicsEffect>

namespace nolvea {

// Draws a live widget with a `MotionLook`: faded, moved, scaled about its centre, blurred.
// The widget keeps its place in the layout and its input; only its picture moves.
class PageMotionEffect : public QGraphicsEffect {
    Q_OBJECT

public:
    explicit PageMotionEffect(QObject* parent = nullptr);

    const MotionLook& look() const { return m_look; }
    void setLook(const MotionLook& look);

    QRectF boundingRectFor(const QRectF& rect) const override;

protected:
    void draw(QPainter* painter) override;

private:
    MotionLook m_look;
};

} // namespace nolvea
