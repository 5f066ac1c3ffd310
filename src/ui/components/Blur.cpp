#include "ui/components/Blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace nolvea {

namespace {

// One box pass of half-width `r` along rows (or columns when `vertical`).
void boxPass(QImage& img, int r, bool vertical) {
    const int w = img.width(), h = img.height();
    const int lines = vertical ? w : h;
    const int len = vertical ? h : w;
    const int window = 2 * r + 1;
    std::vector<quint32> line(len);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < len; ++i)
            line[i] = vertical ? reinterpret_cast<const quint32*>(img.constScanLine(i))[l]
                               : reinterpret_cast<const quint32*>(img.constScanLine(l))[i];
        int sum[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= len) return;
            const quint32 p = line[i];
            for (int c = 0; c < 4; ++c)
                sum[c] += sign * int((p >> (8 * c)) & 0xff);
        };
        for (int i = -r; i <= r; ++i)
            add(i, 1);
        for (int i = 0; i < len; ++i) {
            quint32 out = 0;
            for (int c = 0; c < 4; ++c)
                out |= quint32(std::clamp(sum[c] / window, 0, 255)) << (8 * c);
            if (vertical)
                reinterpret_cast<quint32*>(img.scanLine(i))[l] = out;
            else
                reinterpret_cast<quint32*>(img.scanLine(l))[i] = out;
            add(i - r, -1);
            add(i + r + 1, 1);
        }
    }
}

} // namespace

QImage blurred(const QImage& image, double radius) {
    QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius < 0.5 || img.isNull()) return img;
    // Three box passes of this half-width have about the variance of the Gaussian.
    const int r = std::max(1, int(std::lround((std::sqrt(4 * radius * radius + 1) - 1) / 2)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(img, r, false);
        boxPass(img, r, true);
    }
    return img;
}

} // namespace nolvea
