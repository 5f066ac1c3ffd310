#pragma once

#include "ui/components/BreathShape.h"

#include <QWidget>

namespace nolvea {

// The application icon, drawn from the brand colours and a still breath line. Every measure is
// proportional to the side of the square canvas (a 1024-unit grid).
class AppIconView : public QWidget {
    Q_OBJECT

public:
    explicit AppIconView(double size, QWidget* parent = nullptr);

    struct Geometry {
        QRectF tile;         // the visible tile, 824/1024 of the canvas, centred
        double cornerRadius; // 186/1024 of the canvas
        double haloBlur;     // 38/1024 of the canvas
        double borderWidth;  // 3/1024 of the canvas
    };
    static Geometry geometry(double canvas);
    // The three breath lines inside the tile: main, echo 1, echo 2.
    static BreathShape mainShape();
    static BreathShape echo1Shape();
    static BreathShape echo2Shape();

    static void paint(QPainter& p, double canvas);
    // The icon as a square image of `pixels`.
    static QImage render(int pixels);
    // Writes the ten PNG files of an iconset into `folder` (created when missing) and returns
    // the names of those it could not write, in writing order.
    [[nodiscard]] static QStringList renderIconset(const QString& folder);
    // The file names and pixel sides of the iconset, in writing order.
    static QList<QPair<QString, int>> iconsetFiles();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double m_size;
};

} // namespace nolvea
