#pragma once

#include "ui/animation/SpringValue.h"

#include <QAbstractButton>

namespace nolvea {

class FrameDriver;

// A small on/off switch; checkable, so a screen reader hears it as a check box with its state.
// Its knob slides across when flipped.
class SwitchToggle : public QAbstractButton {
    Q_OBJECT

public:
    explicit SwitchToggle(const QString& accessibleName, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {30, 18}; }
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Where the knob is: 0 at the off end, 1 at the on end.
    double knob() const { return m_knob.value(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    SpringValue m_knob;
    FrameDriver* m_driver;
};

} // namespace nolvea
