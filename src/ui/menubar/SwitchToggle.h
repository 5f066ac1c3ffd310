#pragma once

#include <QAbstractButton>

namespace nolvea {

// A small on/off switch; checkable, so a screen reader hears it as a check box with its state.
class SwitchToggle : public QAbstractButton {
    Q_OBJECT

public:
    explicit SwitchToggle(const QString& accessibleName, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {30, 18}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace nolvea
