#pragma once

#include "ui/components/Theme.h"

#include <QWidget>

namespace nolvea {

class FrameDriver;

// The live microphone level as a row of rounded bars that breathe a little even in silence.
class WaveformView : public QWidget {
    Q_OBJECT

public:
    WaveformView(QList<float> levels, Theme::Palette palette, double barWidth, double spacing,
                 double intensity, QWidget* parent = nullptr);

    void setLevels(QList<float> levels);
    void setPalette(Theme::Palette palette);
    bool isClockRunning() const;

    // Draws the bars for a canvas of `size` at time `t`.
    static void draw(QPainter& p, const QSizeF& size, const QList<float>& levels,
                     const QColor& accent, double barWidth, double spacing, double intensity,
                     double t);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QList<float> m_levels;
    Theme::Palette m_palette;
    double m_barWidth;
    double m_spacing;
    double m_intensity;
    FrameDriver* m_driver;
};

} // namespace nolvea
