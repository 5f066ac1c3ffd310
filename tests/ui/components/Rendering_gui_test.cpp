#include "support/TestEnvironment.h"
#include "ui/components/AppIconView.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandMark.h"
#include "ui/components/BrandMarkImage.h"
#include "ui/components/Theme.h"
#include "ui/components/WaveformModel.h"
#include "ui/components/WaveformView.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

// Renders through a PNG file, as the screenshots and the iconset do, and reads it back.
QImage throughPng(const QImage& image, const QString& name) {
    const QString path = test::home() + "/" + name + ".png";
    EXPECT_TRUE(image.save(path, "PNG"));
    QImage back(path);
    EXPECT_FALSE(back.isNull());
    return back.convertToFormat(QImage::Format_ARGB32);
}

QImage canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

bool near(QRgb got, const QColor& want, int tolerance = 2) {
    return std::abs(qRed(got) - want.red()) <= tolerance &&
           std::abs(qGreen(got) - want.green()) <= tolerance &&
           std::abs(qBlue(got) - want.blue()) <= tolerance &&
           std::abs(qAlpha(got) - want.alpha()) <= tolerance;
}

TEST(BrandMarkRendering, MonoDrawsOnlyTheFlatColour) {
    QImage image = canvas(250, 200);
    {
        QPainter p(&image);
        BrandMarkInputs in;
        in.style = BrandMarkStyle::mono(Brand::roxo());
        in.glow = true; // ignored by the mono style
        in.busy = true;
        in.ball = true;
        BrandMark::paintStill(p, image.rect(), in);
    }
    const QImage png = throughPng(image, "mark-mono");
    ASSERT_EQ(png.size(), QSize(250, 200));
    // A ball of radius 0.3·H around the centre; nothing of the ring outside it.
    EXPECT_TRUE(near(png.pixel(125, 100), Brand::roxo()));
    EXPECT_EQ(qAlpha(png.pixel(125, 100 - 70)), 0) << "no busy ring in mono";
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            const QRgb px = png.pixel(x, y);
            if (qAlpha(px) == 255) {
                ASSERT_TRUE(near(px, Brand::roxo())) << x << "," << y;
            }
        }
}

TEST(BrandMarkRendering, AuroraLineRunsFromEmberToSky) {
    QImage image = canvas(250, 200);
    {
        QPainter p(&image);
        BrandMark::paintStill(p, image.rect(), BrandMarkInputs{});
    }
    const QImage png = throughPng(image, "mark-aurora");
    // Still line, phase 0: the centre line crosses y = H/2 at the middle; the gradient's
    // middle stop is the orchid violet.
    EXPECT_TRUE(near(png.pixel(125, 100), Brand::orquidea(), 4));
    // Along the line, the gradient runs from ember at the left to sky blue at the right.
    const QPolygonF outline = BrandMarkModel::frame(BrandMarkInputs{}, 0).line.path(png.rect());
    auto onLine = [&](int i) {
        const QPointF c = (outline[i] + outline[193 - i]) / 2;
        return png.pixel(c.toPoint());
    };
    const QRgb left = onLine(16), right = onLine(80);
    EXPECT_EQ(qAlpha(left), 255);
    EXPECT_EQ(qAlpha(right), 255);
    EXPECT_GT(qRed(left), qBlue(left));
    EXPECT_GT(qBlue(right), qRed(right));
    // Outside the line nothing is drawn.
    EXPECT_EQ(qAlpha(png.pixel(2, 2)), 0);
}

TEST(BrandMarkRendering, BusyBallDrawsTheRingOutsideTheBall) {
    BrandMarkInputs in;
    in.ball = true;
    in.busy = true;
    QImage image = canvas(250, 200);
    {
        QPainter p(&image);
        BrandMark::paintStill(p, image.rect(), in);
    }
    const QImage png = throughPng(image, "mark-busy");
    // At t = 0 the ring spans from three o'clock clockwise; R = 0.3·200 = 60, ring radius 93.
    // Its far end (brasa) lies at 108° below the right; its start (clear ceu) is transparent.
    const double R = 93;
    const double a = 100 * M_PI / 180;
    const QRgb end = png.pixel(int(125 + R * std::cos(a)), int(100 + R * std::sin(a)));
    EXPECT_GT(qAlpha(end), 200);
    EXPECT_EQ(qAlpha(png.pixel(125, 100 - 93)), 0) << "nothing at twelve o'clock";
    in.busy = false;
    QImage calm = canvas(250, 200);
    {
        QPainter p(&calm);
        BrandMark::paintStill(p, calm.rect(), in);
    }
    EXPECT_EQ(qAlpha(calm.pixel(int(125 + R * std::cos(a)), int(100 + R * std::sin(a)))), 0);
}

TEST(BrandMarkRendering, MenuBarImageIsABlackTemplateOfTwentyTwoBySixteen) {
    const QImage image = BrandMarkImage::renderMenuBar();
    EXPECT_EQ(image.size(), QSize(44, 32));
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(22, 16));
    bool anyInk = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (qAlpha(px) > 0) {
                anyInk = true;
                ASSERT_EQ(qRed(px) | qGreen(px) | qBlue(px), 0);
            }
        }
    EXPECT_TRUE(anyInk);
    EXPECT_TRUE(BrandMarkImage::menuBar().isMask());
}

TEST(AppIcon, IconsetHoldsTenFilesOfTheirSizes) {
    const QString dir = test::home() + "/deep/Nolvea.iconset";
    EXPECT_EQ(AppIconView::renderIconset(dir), QStringList());
    // An existing folder is fine and the files are replaced.
    EXPECT_EQ(AppIconView::renderIconset(dir), QStringList());
    const QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(names.size(), 10);
    const std::pair<const char*, int> expected[] = {
        {"icon_16x16.png", 16},        {"icon_16x16@2x.png", 32},    {"icon_32x32.png", 32},
        {"icon_32x32@2x.png", 64},     {"icon_128x128.png", 128},    {"icon_128x128@2x.png", 256},
        {"icon_256x256.png", 256},     {"icon_256x256@2x.png", 512}, {"icon_512x512.png", 512},
        {"icon_512x512@2x.png", 1024},
    };
    for (const auto& [name, side] : expected) {
        const QImage image(dir + "/" + name);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(side, side)) << name;
    }
}

TEST(AppIcon, LargestIconHasItsMarginCornersAndNightTile) {
    const QImage icon = throughPng(AppIconView::render(1024), "icon-1024");
    // A fully transparent margin of 100 pixels on every side.
    for (int i = 0; i < 1024; ++i)
        for (int m : {0, 50, 99, 924, 1000, 1023}) {
            ASSERT_EQ(qAlpha(icon.pixel(i, m)), 0) << i << "," << m;
            ASSERT_EQ(qAlpha(icon.pixel(m, i)), 0) << m << "," << i;
        }
    // Corner radius 186: the tile's corner is cut, a point inside the arc is opaque.
    EXPECT_EQ(qAlpha(icon.pixel(102, 102)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(100 + 30, 100 + 30)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(100 + 186, 100 + 10)), 255);
    EXPECT_EQ(qAlpha(icon.pixel(100 + 60, 100 + 60)), 255);
    // The top of the tile, away from the glows and the line, is the night blue.
    EXPECT_TRUE(near(icon.pixel(512, 140), Brand::noite(), 6));
    // The main line is filled with the brand gradient: orchid at the middle of the tile's line.
    const double T = 824;
    const QRgb mid = icon.pixel(int(100 + (132 + 280) / 824.0 * T), int(100 + 420 / 824.0 * T));
    EXPECT_TRUE(near(mid, Brand::orquidea(), 6));
}

TEST(AppIcon, SamePictureAtTwoSizesDiffersOnlyByScale) {
    const QImage big =
        AppIconView::render(512).scaled(128, 128, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage small = AppIconView::render(128);
    int far = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const QRgb a = big.pixel(x, y), b = small.pixel(x, y);
            if (std::abs(qAlpha(a) - qAlpha(b)) > 40 || std::abs(qRed(a) - qRed(b)) > 40) ++far;
        }
    EXPECT_LT(far, 128 * 128 * 3 / 100); // edges resampled differently, nothing more
}

TEST(AppIcon, CommandLineWritesTheIconset) {
    const QString dir = test::home() + "/cli.iconset";
    QProcess p;
    p.start(QStringLiteral(NOLVEA_BINARY_DIR "/bin/nolvea"), {"--render-icon", dir});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 10);
    EXPECT_EQ(QImage(dir + "/icon_512x512@2x.png").size(), QSize(1024, 1024));
}

TEST(Waveform, BarGeometry) {
    const double H = 26;
    // All silent: each bar H·e·w high, never less than a dot, highest in the middle.
    const QList<float> silent(32, 0.f);
    const double t = 1.234;
    const auto bars = WaveformModel::bars(silent, H, 3, 2.5, 1, t);
    ASSERT_EQ(bars.size(), 32);
    for (int i = 0; i < 32; ++i) {
        const double e = std::pow(std::sin(M_PI * (i + 0.5) / 32), 0.7);
        const double w = 0.08 + 0.05 * std::sin(3 * t + 0.45 * i);
        EXPECT_NEAR(bars[i].rect.height(), std::max(H * e * w, 3.0), 1e-9);
        EXPECT_NEAR(bars[i].rect.center().y(), H / 2, 1e-9);
        EXPECT_NEAR(bars[i].rect.x(), i * 5.5, 1e-9);
        EXPECT_EQ(bars[i].rect.width(), 3);
        EXPECT_EQ(bars[i].cornerRadius, 1.5);
        EXPECT_NEAR(bars[i].opacity, 0.35 + 0.65 * e, 1e-12);
    }
    // All loud: the middle bar is H·(0.92 + w)·e high and not limited to the canvas.
    const auto loud = WaveformModel::bars(QList<float>(32, 1.f), H, 3, 2.5, 1, 0);
    const double e16 = std::pow(std::sin(M_PI * 16.5 / 32), 0.7);
    EXPECT_NEAR(loud[16].rect.height(), H * e16 * (0.92 + 0.08 + 0.05 * std::sin(0.45 * 16)), 1e-9);
    // Intensity scales, one level is one full-envelope bar at x 0.
    const auto one = WaveformModel::bars({0.5f}, 20, 4, 1, 0.5, 0);
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].rect.x(), 0);
    EXPECT_NEAR(one[0].rect.height(), 20 * 0.5 * (0.46 + 0.08), 1e-9);
    EXPECT_NEAR(one[0].opacity, 1.0, 1e-12);
    EXPECT_TRUE(WaveformModel::bars({}, 20, 3, 2, 1, 0).isEmpty());
    EXPECT_DOUBLE_EQ(WaveformModel::width(32, 3, 2.5), 173.5);
    EXPECT_DOUBLE_EQ(WaveformModel::width(1, 3, 2.5), 3);
    EXPECT_DOUBLE_EQ(WaveformModel::width(0, 3, 2.5), 0);
}

TEST(Waveform, RendersBarsInTheAccent) {
    QImage image = canvas(174, 26);
    QList<float> levels(32, 0.f);
    levels[16] = 1.f;
    {
        QPainter p(&image);
        WaveformView::draw(p, image.size(), levels, Theme::agent().accent, 3, 2.5, 1, 0);
    }
    const QImage png = throughPng(image, "waveform");
    ASSERT_EQ(png.size(), QSize(174, 26));
    // The loud middle bar's centre is the accent at nearly full opacity (0.35 + 0.65·e).
    const QRgb mid = png.pixel(int(16 * 5.5 + 1.5), 13);
    const double e16 = std::pow(std::sin(M_PI * 16.5 / 32), 0.7);
    EXPECT_NEAR(qAlpha(mid), 255 * (0.35 + 0.65 * e16), 2);
    EXPECT_NEAR(qRed(mid), Brand::roxoClaro().red(), 3);
    EXPECT_NEAR(qBlue(mid), Brand::roxoClaro().blue(), 3);
    // It reaches the top of the canvas; the gaps between bars stay clear.
    EXPECT_GT(qAlpha(png.pixel(int(16 * 5.5 + 1.5), 1)), 0);
    EXPECT_EQ(qAlpha(png.pixel(int(16 * 5.5 + 4.2), 13)), 0);
    // The end bars are fainter.
    EXPECT_LT(qAlpha(png.pixel(1, 13)), 130);
}

} // namespace
