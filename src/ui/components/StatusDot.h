#pragma once

#include "core/AIConnection.h"
#include "ui/animation/SpringValue.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace nolvea {

class FrameDriver;

// A small coloured dot for a connection state with a halo that keeps pulsing outward. The dot
// takes 10 × 10 in its layout; the halo is drawn behind it by a sibling that takes no room.
class StatusDot : public QWidget {
    Q_OBJECT

public:
    static constexpr double kSide = 10;
    static constexpr double kPulseSeconds = 1.6;
    static constexpr double kHaloScale = 2.4;

    explicit StatusDot(AIConnection connection, QWidget* parent = nullptr);
    ~StatusDot() override;

    AIConnection connection() const { return m_connection; }
    void setConnection(AIConnection connection);

    static QColor color(AIConnection connection);
    // The halo `elapsed` seconds after the pulse began: its scale and opacity (ease-out,
    // repeating every 1.6 s without reversing).
    struct Halo {
        double scale;
        double opacity;
    };
    static Halo halo(double elapsed);
    // The colour shown while a change blends from `from` to `to` (progress 0...1).
    static QColor blend(const QColor& from, const QColor& to, double progress);

    QColor shownColor() const;
    double pulseTime() const;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;

private:
    class HaloLayer;
    void placeHalo();

    AIConnection m_connection;
    QColor m_from;
    SpringValue m_blend{1};
    double m_pulseStart = -1;
    FrameDriver* m_driver;
    QPointer<HaloLayer> m_halo;
};

} // namespace nolvea
