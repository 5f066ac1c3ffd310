#pragma once

#include <QObject>

class QWidget;

namespace nolvea {

class FrameDriver;
class TransitionEffect;

// Plays a symbol's bounce on a widget: it swells, dips a little under its size and settles,
// about its centre, without moving anything around it.
class Bounce : public QObject {
    Q_OBJECT

public:
    explicit Bounce(QWidget* target);

    // Starts the bounce again from the beginning (nothing under reduced motion).
    void play();
    bool isPlaying() const { return m_elapsed >= 0; }
    double scale() const;

private:
    bool step(double dt);

    QWidget* m_target;
    TransitionEffect* m_effect;
    FrameDriver* m_driver;
    double m_elapsed = -1;
};

} // namespace nolvea
