#pragma once

#include "ui/onboarding/MotionLook.h"

#include <QPixmap>
#include <QWidget>

namespace nolvea {

// The picture of a view that has gone, drawn with a `MotionLook` while it leaves; it takes
// no input and holds nothing of the view itself, so whatever the view ran has already ended.
class SnapshotLayer : public QWidget {
    Q_OBJECT

public:
    // Takes the picture of `view` where it stands in `parent`, one of its ancestors.
    SnapshotLayer(QWidget* view, QWidget* parent);

    void setLook(const MotionLook& look);
    const MotionLook& look() const { return m_look; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_picture;
    QRect m_area;
    MotionLook m_look;
};

} // namespace nolvea
