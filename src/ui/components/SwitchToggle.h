#pragma once

#include <QAbstractButton>

namespace nolvea {

// An on/off switch: a capsule with a round knob, purple when on.
class SwitchToggle : public QAbstractButton {
    Q_OBJECT

public:
    explicit SwitchToggle(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {38, 22}; }

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace nolvea
