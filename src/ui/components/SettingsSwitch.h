#pragma once

#include <QAbstractButton>

namespace nolvea {

// An on/off switch: a capsule with a round knob, purple when on.
class SettingsSwitch : public QAbstractButton {
    Q_OBJECT

public:
    explicit SettingsSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {38, 22}; }

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace nolvea
