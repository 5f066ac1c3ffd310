#pragma once

#include "ui/components/Theme.h"

#include <QImage>
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
    // How many times the mesh was drawn since the widget was made.
    int meshDrawings() const { return m_meshDrawings; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Theme::Palette m_palette;
    FrameDriver* m_driver;
    QImage m_mesh;
    double m_meshTime = 0;
    bool m_meshDark = false;
    int m_meshDrawings = 0;
};

} // namespace nolvea
