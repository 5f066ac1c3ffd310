#include "ui/components/Brand.h"
#include "ui/components/FlatGlass.h"
#include "ui/components/LiquidGlass.h"
#include "ui/components/LiquidGlassContainer.h"

#include <QLabel>
#include <QPainterPath>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

QPainterPath capsule(const QRectF& r) {
    QPainterPath p;
    p.addRoundedRect(r, r.height() / 2, r.height() / 2);
    return p;
}

TEST(Glass, FlatLayers) {
    const auto l = LiquidGlass::flatLayers(Brand::roxo());
    EXPECT_EQ(l.tintFill, Brand::withOpacity(Brand::roxo(), 0.9));
    EXPECT_EQ(l.veil, Brand::withOpacity(Qt::white, 0.28));
    EXPECT_EQ(l.border, Brand::withOpacity(Qt::white, 0.55));
    EXPECT_EQ(l.borderWidth, 0.8);
    EXPECT_EQ(l.shadow, Brand::withOpacity(Qt::black, 0.12));
    EXPECT_EQ(l.shadowBlur, 10);
    EXPECT_EQ(l.shadowOffset, QPointF(0, 4));
    // The tint's own opacity is multiplied.
    EXPECT_NEAR(LiquidGlass::flatLayers(Brand::withOpacity(Qt::red, 0.5)).tintFill.alphaF(), 0.45,
                1e-3);
    EXPECT_EQ(LiquidGlass::flatLayers(Qt::transparent).tintFill.alpha(), 0);
}

TEST(Glass, FlagReachesTheSubtreeAndCanBeUndone) {
    QWidget top;
    auto* middle = new QWidget(&top);
    auto* leaf = new QWidget(middle);
    EXPECT_FALSE(FlatGlass::isFlat(leaf));
    FlatGlass::set(&top, true);
    EXPECT_TRUE(FlatGlass::isFlat(leaf));
    FlatGlass::set(middle, false);
    EXPECT_FALSE(FlatGlass::isFlat(leaf));
    EXPECT_TRUE(FlatGlass::isFlat(&top));
    FlatGlass::clear(middle);
    EXPECT_TRUE(FlatGlass::isFlat(leaf));
}

TEST(Glass, FlatSurfaceRendersTintVeilAndShadow) {
    QWidget page;
    QPalette pal = page.palette();
    pal.setColor(QPalette::Window, Qt::white);
    page.setPalette(pal);
    page.setAutoFillBackground(true);
    FlatGlass::set(&page, true);
    auto* glass = new LiquidGlass({}, capsule, Brand::roxo(), &page);
    glass->setGeometry(0, 0, 240, 100);
    page.resize(240, 100);
    page.show();
    EXPECT_TRUE(glass->isFlat());
    const QImage img = page.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRect s = glass->surfaceRect().toRect();
    // Inside: roxo at 90 % over white, then white at 28 %.
    auto over = [](double a, int c, int under) { return c * a + under * (1 - a); };
    const QColor r = Brand::roxo();
    const QRgb mid = img.pixel(s.center());
    EXPECT_NEAR(qRed(mid), over(0.28, 255, over(0.9, r.red(), 255)), 3);
    EXPECT_NEAR(qGreen(mid), over(0.28, 255, over(0.9, r.green(), 255)), 3);
    // Below the surface, the shadow darkens the page a little.
    const QRgb below = img.pixel(s.center().x(), s.bottom() + 5);
    EXPECT_LT(qRed(below), 255);
    EXPECT_GT(qRed(below), 200);
}

TEST(Glass, FlatContainerAddsNothingToTheLayout) {
    auto* label = new QLabel("Olá");
    LiquidGlassContainer c(12, label);
    EXPECT_EQ(c.sizeHint(), label->sizeHint());
    c.resize(200, 40);
    c.show();
    EXPECT_EQ(label->geometry(), QRect(0, 0, 200, 40));
    EXPECT_EQ(c.spacing(), 12);
}

} // namespace
