#pragma once

#include "ui/animation/SpringValue.h"

#include <QWidget>

namespace nolvea {

class FrameDriver;

// The Drive card's chevron: pointing down while the guide is folded, turning half round to
// point up while it is open.
class GoogleStepChevron : public QWidget {
public:
    static constexpr int kSide = 11;

    explicit GoogleStepChevron(QWidget* parent = nullptr);

    void setOpen(bool open);
    bool isOpen() const { return m_turn.target() > 0; }
    // Degrees turned from pointing down.
    double angle() const { return m_turn.value(); }

    QSize sizeHint() const override { return {kSide + 4, kSide + 4}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    FrameDriver* m_driver;
    SpringValue m_turn;
};

} // namespace nolvea
