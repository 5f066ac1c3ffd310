#include "ui/components/Blur.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace nolvea {

namespace {

// One box pass of half-width `r` along the rows: a running sum per channel.
void horizontalPass(QImage& img, int r) {
    const int w = img.width(), h = img.height();
    const int window = 2 * r + 1;
    std::vector<quint32> line(w);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<quint32*>(img.scanLine(y));
        std::copy(row, row + w, line.begin());
        int s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= w) return;
            const quint32 p = line[i];
            s0 += sign * int(p & 0xff);
            s1 += sign * int((p >> 8) & 0xff);
            s2 += sign * int((p >> 16) & 0xff);
            s3 += sign * int(p >> 24);
        };
        for (int i = -r; i <= r; ++i)
            add(i, 1);
        for (int x = 0; x < w; ++x) {
            row[x] = quint32(s0 / window) | quint32(s1 / window) << 8 | quint32(s2 / window) << 16 |
                     quint32(s3 / window) << 24;
            add(x - r, -1);
            add(x + r + 1, 1);
        }
    }
}

// The same down the columns, row by row so memory is read in order.
void verticalPass(QImage& img, int r) {
    const int w = img.width(), h = img.height();
    const int window = 2 * r + 1;
    const QImage src = img.copy();
    std::vector<int> sums(size_t(w) * 4, 0);
    auto add = [&](int y, int sign) {
        if (y < 0 || y >= h) return;
        const auto* row = reinterpret_cast<const quint32*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const quint32 p = row[x];
            int* s = &sums[size_t(x) * 4];
            s[0] += sign * int(p & 0xff);
            s[1] += sign * int((p >> 8) & 0xff);
            s[2] += sign * int((p >> 16) & 0xff);
            s[3] += sign * int(p >> 24);
        }
    };
    for (int i = -r; i <= r; ++i)
        add(i, 1);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int* s = &sums[size_t(x) * 4];
            row[x] = quint32(s[0] / window) | quint32(s[1] / window) << 8 |
                     quint32(s[2] / window) << 16 | quint32(s[3] / window) << 24;
        }
        add(y - r, -1);
        add(y + r + 1, 1);
    }
}

} // namespace

QImage blurred(const QImage& image, double radius) {
    QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius < 0.5 || img.isNull()) return img;
    // A wide blur loses nothing when done small: shrink so the radius is a few pixels, blur,
    // and scale back up smoothly.
    constexpr double kSmallRadius = 3;
    if (radius > 2 * kSmallRadius) {
        const double f = radius / kSmallRadius;
        const QSize small(std::max(1, int(std::lround(img.width() / f))),
                          std::max(1, int(std::lround(img.height() / f))));
        const qreal dpr = img.devicePixelRatio();
        // Bilinear resampling through the painter: much cheaper than the smooth scaler, and
        // the blur hides what it misses.
        auto resample = [](const QImage& from, QSize to) {
            QImage out(to, QImage::Format_ARGB32_Premultiplied);
            out.fill(Qt::transparent);
            QPainter p(&out);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(QRectF(QPointF(0, 0), QSizeF(to)), from);
            return out;
        };
        img.setDevicePixelRatio(1);
        QImage out = resample(blurred(resample(img, small), kSmallRadius), img.size());
        out.setDevicePixelRatio(dpr);
        return out;
    }
    // Three box passes of this half-width have about the variance of the Gaussian.
    const int r = std::max(1, int(std::lround((std::sqrt(4 * radius * radius + 1) - 1) / 2)));
    for (int pass = 0; pass < 3; ++pass) {
        horizontalPass(img, r);
        verticalPass(img, r);
    }
    return img;
}

} // namespace nolvea
