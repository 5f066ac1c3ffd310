#include "ui/components/GlassBlend.h"

#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

using Shape = GlassBlend::Shape;

Shape circle(QPointF centre, double r) {
    return {QRectF(centre - QPointF(r, r), QSizeF(2 * r, 2 * r)), r};
}

// Two drops of radius 20 side by side, `gap` apart.
std::vector<Shape> pair(double gap) {
    return {circle({100, 100}, 20), circle({140 + gap, 100}, 20)};
}

struct NeckCase {
    const char* name;
    double gap;
    double spacing;
    bool joined;  // the middle of the gap is glass
    bool changed; // the outline differs from the two shapes drawn apart
};

class GlassBlendNecks : public ::testing::TestWithParam<NeckCase> {};

TEST_P(GlassBlendNecks, CloseShapesMeltFarOnesStayApart) {
    const NeckCase c = GetParam();
    const GlassBlend blend(pair(c.gap), c.spacing);
    const QPointF middle(120 + c.gap / 2, 100);
    EXPECT_EQ(blend.distance(middle) < 0, c.joined);
    // Just outside the first drop, facing the second.
    EXPECT_EQ(blend.distance({120.3, 100}) < 0, c.changed);
    EXPECT_EQ(blend.blends(), c.changed);
    EXPECT_EQ(blend.necks().contains(middle.toPoint()), c.joined);
    // Whatever happens between them, each shape is still whole and nothing far is touched.
    EXPECT_LT(blend.distance({100, 100}), -19);
    EXPECT_LT(blend.distance({119, 100}), 0);
    EXPECT_GT(blend.distance({100, 60}), 15);
    EXPECT_NEAR(blend.distance({60, 100}), 20, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Gaps, GlassBlendNecks,
                         ::testing::Values(NeckCase{"touching", 0, 18, true, true},
                                           NeckCase{"aSideDropBesideTheCapsule", 8, 18, true, true},
                                           NeckCase{"nearlyJoined", 12, 18, false, true},
                                           NeckCase{"atTheSpacing", 18, 18, false, false},
                                           NeckCase{"beyondTheSpacing", 30, 18, false, false},
                                           NeckCase{"noSpacingNoMelting", 4, 0, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GlassBlend, RendersTheMeltedSurfaceFilledAndBordered) {
    const GlassBlend blend(pair(8), 18);
    const GlassBlend::Colors colors{QColor(20, 20, 40, 200), QColor(255, 255, 255, 90), 1};
    const QRect area = blend.bounds().toAlignedRect();
    const QImage image = blend.render(area, colors);
    ASSERT_EQ(image.size(), area.size());
    auto at = [&](QPoint p) { return image.pixelColor(p - area.topLeft()); };
    EXPECT_EQ(at({100, 100}).alpha(), 200) << "inside: the fill alone";
    EXPECT_EQ(at({124, 100}).alpha(), 200) << "the neck is filled like the shapes";
    EXPECT_GT(at({100, 80}).alpha(), 0) << "the outline carries the border";
    EXPECT_GT(at({100, 80}).lightness(), at({100, 100}).lightness());
    EXPECT_EQ(at({124, 84}).alpha(), 0) << "above the neck stays clear";
    EXPECT_EQ(at(area.topLeft()).alpha(), 0);

    // At twice the pixels the picture keeps its logical size.
    const QImage sharp = blend.render(area, colors, 2);
    EXPECT_EQ(sharp.size(), area.size() * 2);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(area.size()));
}

TEST(GlassBlend, ALoneShapeCoversWhatItsOutlineDoes) {
    const Shape capsule{QRectF(10.3, 12.6, 180, 46), 23};
    const GlassBlend blend({capsule}, 18);
    EXPECT_FALSE(blend.blends());
    EXPECT_TRUE(blend.necks().isEmpty());
    const QRect area(0, 0, 200, 70);
    const QImage mine = blend.render(area, {Qt::black, Qt::transparent, 1});
    QImage theirs(area.size(), QImage::Format_ARGB32_Premultiplied);
    theirs.fill(Qt::transparent);
    QPainter p(&theirs);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(capsule.rect, capsule.radius, capsule.radius);
    p.fillPath(path, Qt::black);
    p.end();
    double a = 0, b = 0;
    int worst = 0;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            a += mine.pixelColor(x, y).alphaF();
            b += theirs.pixelColor(x, y).alphaF();
            worst = std::max(
                worst, std::abs(mine.pixelColor(x, y).alpha() - theirs.pixelColor(x, y).alpha()));
        }
    EXPECT_NEAR(a, b, b * 0.005);
    EXPECT_LT(worst, 90) << "edges differ by antialiasing only";
}

TEST(GlassBlend, EmptyShapesAreLeftOut) {
    const GlassBlend blend({circle({50, 50}, 10), Shape{QRectF(60, 50, 0, 0), 0}}, 18);
    EXPECT_FALSE(blend.blends());
    EXPECT_NEAR(blend.distance({50, 50}), -10, 1e-6);
    EXPECT_TRUE(GlassBlend({}, 18).bounds().isEmpty());
    EXPECT_EQ(GlassBlend({}, 18)
                  .render(QRect(0, 0, 4, 4), {Qt::black, Qt::white, 1})
                  .pixelColor(1, 1)
                  .alpha(),
              0);
}

} // namespace
