#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

class QPainter;

namespace nolvea {

// The picture behind the two icons of the installer window: the title asking to drag the
// application to Aplicativos, an arrow between the icon slots, a backdrop under each icon's
// label and a card with the three first-open steps. Always light. Never shown by the running
// application; the packaging step places the icons at `appSlot` and `folderSlot`.
class DMGBackground {
public:
    struct Step {
        QString title;
        QString detail;
    };
    struct File {
        QString name;
        int scale;
    };

    static constexpr int kWidth = 660;
    static constexpr int kHeight = 470;
    static constexpr QPointF appSlot{170, 175};
    static constexpr QPointF folderSlot{490, 175};

    static const QList<Step>& steps();
    // "fundo.png" at scale 1, then "fundo@2x.png" at scale 2.
    static const QList<File>& files();

    // The picture in points, on a canvas of 660 × 470 points.
    static void paint(QPainter& p);
    // The picture at `scale` pixels a point.
    static QImage render(int scale);
    // Writes both files into `folder` (made with its parents when missing) and returns the
    // names of those it could not write, in writing order.
    [[nodiscard]] static QStringList render(const QString& folder);

    DMGBackground() = delete;
};

} // namespace nolvea
