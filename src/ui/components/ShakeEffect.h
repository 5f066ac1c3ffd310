#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace nolvea {

class FrameDriver;

// Shakes a widget sideways each time an integer trigger changes (the error count); a shake
// still running starts again. The first value never shakes.
class ShakeEffect : public QObject {
    Q_OBJECT

public:
    ShakeEffect(QWidget* target, int trigger);

    void setTrigger(int trigger);
    bool isShaking() const { return m_start >= 0; }
    // The horizontal offset now.
    double offset() const;

private:
    bool step();

    QPointer<QWidget> m_target;
    int m_trigger;
    double m_start = -1;
    QPoint m_rest;
    FrameDriver* m_driver;
};

} // namespace nolvea
