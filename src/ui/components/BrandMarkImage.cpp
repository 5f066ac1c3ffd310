#include "ui/components/BrandMarkImage.h"

#include "ui/components/BrandMark.h"
#include "ui/components/Symbols.h"

#include <QPainter>
#include <QPixmap>

namespace nolvea {

QImage BrandMarkImage::renderMenuBar() {
    QImage image(44, 32, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    QPainter p(&image);
    BrandMarkInputs in;
    in.style = BrandMarkStyle::mono(Qt::black);
    BrandMark::paintStill(p, QRectF(0, 0, 22, 16), in);
    return image;
}

const QIcon& BrandMarkImage::menuBar() {
    static const QIcon icon = [] {
        const QImage image = renderMenuBar();
        QIcon i;
        if (!image.isNull()) {
            i.addPixmap(QPixmap::fromImage(image));
            i.setIsMask(true); // the tray tints it like a template image
        } else {
            i = Symbols::icon("waveform");
        }
        return i;
    }();
    return icon;
}

} // namespace nolvea
