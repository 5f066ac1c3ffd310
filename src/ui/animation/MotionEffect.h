#pragma once

#include "ui/animation/MotionPose.h"

#include <QGraphicsEffect>

namespace nolvea {

// Draws a widget faded, shifted and scaled about its centre, without touching its geometry:
// the pose of a view on its way in or out. At the identity pose the widget draws as usual.
class MotionEffect : public QGraphicsEffect {
    Q_OBJECT

public:
    using Pose = MotionPose;

    explicit MotionEffect(QObject* parent = nullptr);

    const Pose& pose() const { return m_pose; }
    void setPose(const Pose& pose);

protected:
    QRectF boundingRectFor(const QRectF& rect) const override;
    void draw(QPainter* painter) override;

private:
    QTransform transformFor(const QRectF& source) const;

    Pose m_pose;
};

} // namespace nolvea
