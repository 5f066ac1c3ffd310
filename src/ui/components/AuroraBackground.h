#pragma once

#include "ui/components/Theme.h"

#include <QWidget>

namespace nolvea {

class FrameDriver;

// A full-bleed, slowly moving mesh gradient from a palette, redrawn at most 20 times a second
// and standing still under reduced motion.
class AuroraBackground : public QWidget {
    Q_OBJECT

public:
    explicit AuroraBackground(Theme::Palette palette, QWidget* parent = nullptr);

    // The mesh at time `t`, veiled for the colour scheme, into `size`.
    static QImage render(const Theme::Palette& palette, QSize size, double t, bool dark);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Theme::Palette m_palette;
    FrameDriver* m_driver;
    double m_drawnAt = -1;
};

} // namespace nolvea
