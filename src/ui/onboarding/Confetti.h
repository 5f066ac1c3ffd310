#pragma once

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

#include <memory>

namespace nolvea {

class ClockTimer;

// The burst over the done page: 90 pieces that fly up from the top middle and fall back,
// fading out by 3.6 s and gone at 4 s. Every piece follows from its index and the time alone.
class Confetti : public QWidget {
    Q_OBJECT

public:
    static constexpr double kDuration = 4.0;

    struct Piece {
        QPointF center;
        double rotation; // radians
        QSizeF size;
        int color; // index into the palette
    };
    // Piece `i` at `t` seconds after the start on a canvas of `canvas`.
    static Piece piece(int i, double t, QSizeF canvas);
    static double opacity(double t);
    static const std::array<QColor, 4>& palette();

    Confetti(int count, QWidget* parent = nullptr);
    ~Confetti() override;

    void start();
    bool isRunning() const { return bool(m_timer); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_count;
    double m_startUptime = 0;
    std::unique_ptr<ClockTimer> m_timer;
};

} // namespace nolvea
