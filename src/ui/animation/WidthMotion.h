#pragma once

#include "ui/animation/SpringValue.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace nolvea {

class FrameDriver;

// Moves a widget's width from what it was to what its new content asks for, on a spring, in
// place of a jump: wrap the change in change(). While it moves the width is held; at rest the
// widget sizes itself again. A companion (the old label's picture on its way out) is kept
// centred on the widget as it grows or shrinks.
class WidthMotion : public QObject {
public:
    WidthMotion(QWidget* target, SpringSpec spring);
    ~WidthMotion() override;

    // Runs `apply`, which changes what the target shows, and moves the width to the new one.
    // Lands at once while the target is not on screen or motion is reduced.
    void change(const std::function<void()>& apply);
    void setCompanion(std::function<QWidget*()> companion) { m_companion = std::move(companion); }

    bool isRunning() const { return m_holding; }
    // The width held now, or the target's own at rest.
    double width() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool step(double dt);
    void hold(double width);
    void release();
    void centreCompanion();

    QWidget* m_target;
    SpringSpec m_spring;
    QPointer<FrameDriver> m_driver;
    SpringValue m_width;
    std::function<QWidget*()> m_companion;
    bool m_holding = false;
    int m_minimum = 0;
    int m_maximum = 0;
};

} // namespace nolvea
