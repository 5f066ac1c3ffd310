#include "support/Clock.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/AppearTransition.h"
#include "ui/animation/FrameClock.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/Brand.h"
#include "ui/components/EffectsModel.h"
#include "ui/components/KeyCap.h"
#include "ui/components/LiquidAppear.h"
#include "ui/components/ShakeEffect.h"
#include "ui/components/ShimmerText.h"
#include "ui/components/Theme.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

using namespace nolvea;

namespace {

TEST(Aurora, PointsStayInTheUnitSquareWithFixedCorners) {
    for (double t : {0.0, 1.0, 123.4, 8e8}) {
        const auto pts = EffectsModel::auroraPoints(t);
        ASSERT_EQ(pts.size(), 9);
        EXPECT_EQ(pts[0], QPointF(0, 0));
        EXPECT_EQ(pts[2], QPointF(1, 0));
        EXPECT_EQ(pts[6], QPointF(0, 1));
        EXPECT_EQ(pts[8], QPointF(1, 1));
        // Edge midpoints slide along their edges only.
        EXPECT_EQ(pts[1].y(), 0);
        EXPECT_EQ(pts[3].x(), 0);
        EXPECT_EQ(pts[5].x(), 1);
        EXPECT_EQ(pts[7].y(), 1);
        for (const auto& p : pts) {
            EXPECT_GE(p.x(), 0);
            EXPECT_LE(p.x(), 1);
            EXPECT_GE(p.y(), 0);
            EXPECT_LE(p.y(), 1);
        }
    }
    // At s + φ = π/2 the point reaches 0.78: t = 4·(π/2) for φ = 0.
    EXPECT_NEAR(EffectsModel::auroraPoints(2 * M_PI)[1].x(), 0.78, 1e-6);
    EXPECT_NEAR(EffectsModel::auroraPoints(6 * M_PI)[1].x(), 0.22, 1e-6);
    EXPECT_NEAR(EffectsModel::auroraPoints(0)[4].y(), float(0.5 + 0.28 * std::sin(3.1)), 1e-7);
}

TEST(Aurora, ColoursAndVeil) {
    const auto& p = Theme::agent();
    const auto c = EffectsModel::auroraColors(p);
    ASSERT_EQ(c.size(), 9);
    const QList<QColor> expected{p.colors[0], p.colors[2], p.colors[1], p.colors[3], c[4],
                                 p.colors[2], p.colors[1], p.colors[3], p.colors[0]};
    EXPECT_EQ(c, expected);
    // The centre is the first colour lightened towards white, not all the way.
    EXPECT_GT(c[4].lightnessF(), p.colors[0].lightnessF());
    EXPECT_LT(c[4].lightnessF(), 1.0);
    EXPECT_EQ(EffectsModel::mixTowardsWhite(Qt::white, 0.3).rgb(), QColor(Qt::white).rgb());
    EXPECT_EQ(EffectsModel::mixTowardsWhite(Brand::roxo(), 0).rgb(), Brand::roxo().rgb());
    // A short palette repeats its last colour.
    Theme::Palette two{{Qt::red, Qt::blue}, Qt::red, Qt::red};
    EXPECT_EQ(EffectsModel::auroraColors(two)[3], QColor(Qt::blue));
    EXPECT_EQ(EffectsModel::auroraVeil(true), Brand::withOpacity(Qt::black, 0.35));
    EXPECT_EQ(EffectsModel::auroraVeil(false), Brand::withOpacity(Qt::white, 0.15));
    const QImage img = AuroraBackground::render(p, QSize(120, 80), 0, true);
    EXPECT_EQ(img.size(), QSize(120, 80));
    EXPECT_EQ(qAlpha(img.pixel(60, 40)), 255);
}

TEST(Aurora, TheGradientHasNoCells) {
    // Blown up as a preview backdrop is, the mesh must shade smoothly: cells of one colour
    // show as blocks. Along a row, a smooth gradient's steps change little from pixel to pixel
    // (cells of four pixels bend by ten levels here).
    const QImage img = AuroraBackground::render(Theme::agent(), QSize(96, 96), 0, false);
    int worst = 0;
    for (int y = 0; y < img.height(); y += 5) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 2; x < img.width(); ++x)
            for (const int shift : {16, 8, 0}) {
                auto channel = [&](int at) { return int(line[at] >> shift) & 0xff; };
                const int bend = channel(x) - 2 * channel(x - 1) + channel(x - 2);
                worst = std::max(worst, std::abs(bend));
            }
    }
    EXPECT_LE(worst, 5);
}

TEST(Shimmer, BandSweepsAcrossEverySixteenTenths) {
    const double W = 200;
    struct Case {
        double t, x;
    } cases[] = {{0, -90}, {0.8, 0.5 * 1.45 * W - 90}, {1.6, -90}, {2.4, 0.5 * 1.45 * W - 90}};
    for (const auto& c : cases) {
        const auto band = EffectsModel::shimmerBand(c.t, W);
        EXPECT_NEAR(band.x, c.x, 1e-9) << c.t;
        EXPECT_EQ(band.width, 90);
    }
    // Just before the end of a sweep the band lies just past the trailing edge.
    EXPECT_NEAR(EffectsModel::shimmerBand(1.6 - 1e-9, W).x, W, 1e-6);

    // An empty text draws nothing; a text shows the band only inside its letters.
    QImage img(200, 30, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        ShimmerText::paint(p, img.rect(), QString(), QFont(), Qt::gray, Qt::white, 0.8);
    }
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(qAlpha(img.pixel(x, y)), 0);
}

TEST(Shake, TrackAndTriggers) {
    ManualClock clock;
    Clock::install(&clock);
    {
        QWidget host;
        host.resize(300, 100);
        auto* target = new QWidget(&host);
        target->setGeometry(50, 10, 100, 40);
        host.show();
        ShakeEffect shake(target, 0);
        EXPECT_FALSE(shake.isShaking()) << "the first value does not shake";
        shake.setTrigger(0);
        EXPECT_FALSE(shake.isShaking());
        shake.setTrigger(1);
        EXPECT_TRUE(shake.isShaking());
        clock.advance(std::chrono::milliseconds(70));
        EXPECT_LT(target->x(), 50);
        clock.advance(std::chrono::milliseconds(100));
        shake.setTrigger(2); // starts over from the beginning
        clock.advance(std::chrono::milliseconds(34));
        EXPECT_LT(target->x(), 50);
        clock.advance(std::chrono::milliseconds(600));
        EXPECT_FALSE(shake.isShaking());
        EXPECT_EQ(target->pos(), QPoint(50, 10));
    }
    Clock::install(nullptr);
}

TEST(LiquidAppear, StatesAndBetween) {
    const auto active = EffectsModel::liquidAppear(true);
    EXPECT_EQ(active.scale, 0.55);
    EXPECT_EQ(active.offsetY, 26);
    EXPECT_EQ(active.opacity, 0);
    const auto rest = EffectsModel::liquidAppear(false);
    EXPECT_EQ(rest.scale, 1);
    EXPECT_EQ(rest.offsetY, 0);
    EXPECT_EQ(rest.opacity, 1);
    const auto half = EffectsModel::liquidAppear(0.5);
    EXPECT_DOUBLE_EQ(half.scale, 0.775);
    EXPECT_DOUBLE_EQ(half.offsetY, 13);
    EXPECT_DOUBLE_EQ(half.opacity, 0.5);
    EXPECT_EQ(EffectsModel::liquidAppear(1.05).opacity, 1) << "an overshoot never over-opaques";

    // Applied to a painter: at the inserted state a point at the bottom centre stays put
    // (then moves down 26), the top comes down by 45 % of the height.
    QImage img(100, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    LiquidAppear::apply(p, QRectF(0, 0, 100, 100), active);
    EXPECT_EQ(p.transform().map(QPointF(50, 100)), QPointF(50, 126));
    EXPECT_EQ(p.transform().map(QPointF(50, 0)), QPointF(50, 45 + 26));
    EXPECT_EQ(p.opacity(), 0);
    p.end();

    AppearTransition t;
    EXPECT_FALSE(t.isPresent());
    t.appear(Theme::gentle());
    EXPECT_TRUE(t.isPresent());
    t.advance(3);
    EXPECT_EQ(t.progress(), 1);
    t.disappear(Theme::gentle());
    t.advance(0.1);
    EXPECT_TRUE(t.isPresent()) << "still drawn while it goes away";
    t.advance(3);
    EXPECT_FALSE(t.isPresent());
}

TEST(KeyCap, ColoursAndSize) {
    struct Case {
        bool pressed, dark;
        QColor glyph, key;
    } cases[] = {
        {false, false, Brand::withOpacity(Brand::tinta(), 0.5),
         Brand::withOpacity(Brand::tinta(), 0.055)},
        {false, true, Brand::withOpacity(Qt::white, 0.55), Brand::withOpacity(Qt::white, 0.09)},
        {true, false, Qt::white, Brand::tinta()},
        {true, true, Brand::tinta(), Qt::white},
    };
    for (const auto& c : cases) {
        const auto k = EffectsModel::keyCapColors(c.pressed, c.dark);
        EXPECT_EQ(k.glyph, c.glyph) << c.pressed << c.dark;
        EXPECT_EQ(k.key, c.key) << c.pressed << c.dark;
    }
    EXPECT_EQ(EffectsModel::keyCapWidth(10, 22, 1), 22);
    EXPECT_EQ(EffectsModel::keyCapWidth(30, 22, 1), 30) << "a wide glyph widens it";
    EXPECT_DOUBLE_EQ(EffectsModel::keyCapWidth(10, 22, 2), 22 + 0.48 * 22);
    EXPECT_DOUBLE_EQ(EffectsModel::keyCapWidth(40, 22, 2), 40 + 0.48 * 22);
    EXPECT_EQ(EffectsModel::keyCapWidth(10, 22, 1), EffectsModel::keyCapWidth(10, 22, 1));

    KeyCap one("A", 22, false);
    EXPECT_EQ(one.sizeHint(), QSize(22, 23)); // 22 square and one row for the drop
    KeyCap fn("fn", 22, false);
    EXPECT_GE(fn.sizeHint().width(), int(22 + 0.48 * 22));
    // Combining marks count as one character: square, like a one-letter key.
    KeyCap accented(QStringLiteral("e\u0301"), 22, false);
    EXPECT_EQ(accented.sizeHint().width(), 22);
}

TEST(KeyCap, PressedKeyIsDrawnInverted) {
    FrameClock::shared().setReduceMotion(true);
    QWidget page;
    QPalette pal = page.palette();
    pal.setColor(QPalette::Window, Qt::white);
    page.setPalette(pal);
    auto* key = new KeyCap("A", 30, false, &page);
    key->resize(key->sizeHint());
    page.resize(40, 40);
    page.show();
    key->setPressed(true);
    const QImage img = key->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // A solid ink key (dropped by 1 px) with the glyph cut out in white.
    EXPECT_EQ(QColor(img.pixel(3, 15)).rgb(), Brand::tinta().rgb());
    FrameClock::shared().setReduceMotion(false);
}

} // namespace
