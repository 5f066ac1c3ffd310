#include "support/TestEnvironment.h"
#include "ui/animation/FrameClock.h"
#include "ui/components/Brand.h"
#include "ui/components/Folha.h"
#include "ui/components/Regua.h"
#include "ui/components/SiteButton.h"
#include "ui/components/SiteKit.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace nolvea;
using Kind = SiteKit::Kind;
using Size = SiteKit::Size;

namespace {

TEST(SiteKit, MetricsPerSizeAndKind) {
    struct Case {
        Size size;
        Kind kind;
        double font, height, padding;
    } cases[] = {
        {Size::small, Kind::primary, 12.5, 28, 12},
        {Size::small, Kind::secondary, 12.5, 28, 12},
        {Size::small, Kind::quiet, 12.5, 28, 12},
        {Size::regular, Kind::primary, 14.5, 38, 18},
        {Size::regular, Kind::secondary, 14.5, 38, 18},
        {Size::regular, Kind::quiet, 14.5, 38, 12},
        {Size::large, Kind::primary, 16, 48, 18},
        {Size::large, Kind::quiet, 16, 48, 12},
    };
    for (const auto& c : cases) {
        const auto m = SiteKit::metrics(c.kind, c.size);
        EXPECT_EQ(m.fontPixels, c.font);
        EXPECT_EQ(m.minimumHeight, c.height);
        EXPECT_EQ(m.horizontalPadding, c.padding) << int(c.size) << "/" << int(c.kind);
    }
}

TEST(SiteKit, ColoursPerKindHoverAndEnabled) {
    const QColor clear(Qt::transparent), white(Qt::white);
    struct Case {
        Kind kind;
        bool hover, enabled;
        QColor fill, ink;
        bool border;
        double opacity;
    } cases[] = {
        {Kind::primary, false, true, Brand::roxo(), white, false, 1},
        {Kind::primary, true, true, Brand::roxo2(), white, false, 1},
        {Kind::primary, true, false, Brand::roxo(), white, false, 0.38},
        {Kind::secondary, false, true, clear, Brand::tinta(), true, 1},
        {Kind::secondary, true, true, Brand::tinta(), Brand::chao(), true, 1},
        {Kind::secondary, true, false, clear, Brand::tinta(), true, 0.38},
        {Kind::quiet, false, true, clear, Brand::tinta2(), false, 1},
        {Kind::quiet, true, true, Brand::withOpacity(Brand::tinta(), 0.06), Brand::tinta2(), false,
         1},
        {Kind::quiet, true, false, clear, Brand::tinta2(), false, 0.38},
    };
    for (const auto& c : cases) {
        const auto l = SiteKit::look(c.kind, c.hover, c.enabled);
        SCOPED_TRACE(testing::Message()
                     << int(c.kind) << " hover " << c.hover << " enabled " << c.enabled);
        EXPECT_EQ(l.fill, c.fill);
        EXPECT_EQ(l.ink, c.ink);
        EXPECT_EQ(l.border.has_value(), c.border);
        if (c.border) {
            EXPECT_EQ(*l.border, Brand::tinta());
            EXPECT_EQ(l.borderWidth, 1.5);
        }
        EXPECT_EQ(l.opacity, c.opacity);
    }
}

TEST(SiteKit, SheetRuleAndTitle) {
    EXPECT_EQ(SiteKit::sheetBorder(true).color, Brand::tinta());
    EXPECT_EQ(SiteKit::sheetBorder(true).width, 1.5);
    EXPECT_EQ(SiteKit::sheetBorder(false).color, Brand::nevoa());
    EXPECT_EQ(SiteKit::sheetBorder(false).width, 1);
    EXPECT_EQ(SiteKit::ruleHeight(true), 1.5);
    EXPECT_EQ(SiteKit::ruleColor(true), Brand::tinta());
    EXPECT_EQ(SiteKit::ruleHeight(false), 1);
    EXPECT_EQ(SiteKit::ruleColor(false), Brand::nevoa());
    EXPECT_DOUBLE_EQ(SiteKit::titleTracking(30), -0.6);
    // Without the brand font: the system's extra-bold face at the same size and tracking.
    const QFont f = SiteKit::titleFont(30);
    EXPECT_EQ(f.weight(), QFont::ExtraBold);
    EXPECT_NEAR(f.letterSpacing(), -0.6, 1.0 / 64);
}

// Buttons on a white page, rendered in every state through a PNG.
class SiteButtonRendering : public ::testing::Test {
protected:
    void SetUp() override { FrameClock::shared().setReduceMotion(true); } // no tweens
    void TearDown() override { FrameClock::shared().setReduceMotion(false); }

    QImage render(SiteButton& b) {
        QWidget page;
        page.setAutoFillBackground(true);
        QPalette p = page.palette();
        p.setColor(QPalette::Window, Qt::white);
        page.setPalette(p);
        b.setParent(&page);
        b.move(0, 0);
        b.resize(b.sizeHint());
        page.resize(b.size());
        page.show();
        const QString path = test::home() + "/button.png";
        page.grab().save(path, "PNG");
        b.setParent(nullptr);
        return QImage(path).convertToFormat(QImage::Format_ARGB32);
    }
    static void hover(SiteButton& b, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), b.mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&b, &move);
    }
    static bool near(QRgb px, const QColor& c, int tol = 3) {
        return std::abs(qRed(px) - c.red()) <= tol && std::abs(qGreen(px) - c.green()) <= tol &&
               std::abs(qBlue(px) - c.blue()) <= tol;
    }
    // `c` at `opacity` over white.
    static QColor overWhite(const QColor& c, double opacity) {
        auto mix = [&](int v) { return int(std::lround(v * opacity + 255 * (1 - opacity))); };
        return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
    }
};

TEST_F(SiteButtonRendering, EveryKindInEveryState) {
    for (Kind kind : {Kind::primary, Kind::secondary, Kind::quiet}) {
        for (int state = 0; state < 4; ++state) { // rest, hover, disabled, disabled + hover
            SiteButton b("Continuar", kind, Size::regular);
            const bool enabled = state < 2;
            b.setEnabled(enabled);
            b.show();
            if (state % 2) hover(b, QPoint(20, 19));
            EXPECT_EQ(b.isHovered(), state == 1) << "a disabled button takes no hover";
            const QImage img = render(b);
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " state " << state);
            EXPECT_EQ(img.height(), 38);
            EXPECT_GE(img.width(), 36 + 40);
            const auto look = SiteKit::look(kind, state % 2, enabled);
            // The fill, sampled inside the shape away from the label and the border.
            const QColor fill = look.fill.alpha() == 0
                                    ? QColor(Qt::white)
                                    : overWhite(look.fill, look.fill.alphaF() * look.opacity);
            EXPECT_TRUE(near(img.pixel(5, 19), fill)) << std::hex << img.pixel(5, 19);
            if (look.border) {
                // The 1.5 px border inside the edge, at the middle of the left side.
                EXPECT_TRUE(near(img.pixel(0, 19), overWhite(Brand::tinta(), look.opacity), 40))
                    << std::hex << img.pixel(0, 19);
            }
            // Outside the rounded corner the page shows.
            EXPECT_TRUE(near(img.pixel(0, 0), Qt::white));
        }
    }
}

TEST_F(SiteButtonRendering, PressedShrinksAndClicksCountOnlyInsideTheRoundedShape) {
    SiteButton b("Ok", Kind::quiet, Size::small);
    b.resize(b.sizeHint());
    b.show();
    QSignalSpy clicks(&b, &QAbstractButton::clicked);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(1, 1)); // outside the 8 px corner
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(4, 4)); // clear, but inside the shape
    EXPECT_EQ(clicks.count(), 1);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 14));
    EXPECT_DOUBLE_EQ(b.currentScale(), 0.97);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 14));
    EXPECT_DOUBLE_EQ(b.currentScale(), 1);
    // A disabled button ignores the pointer.
    b.setEnabled(false);
    hover(b, QPoint(10, 14));
    EXPECT_EQ(b.currentLook().fill, QColor(Qt::transparent));
}

TEST_F(SiteButtonRendering, SmallPaddingAndTallLabels) {
    SiteButton small("Ok", Kind::primary, Size::small);
    const QFontMetricsF fm(small.font());
    EXPECT_EQ(small.sizeHint().width(), int(std::ceil(fm.horizontalAdvance("Ok") + 24)));
    EXPECT_EQ(small.sizeHint().height(), 28);
    SiteButton tall("Ok", Kind::primary, Size::small);
    QFont big = tall.font();
    big.setPixelSize(60);
    tall.setFont(big);
    EXPECT_GT(tall.sizeHint().height(), 28) << "a taller label grows the button";
}

TEST(Folha, SheetFillsTheWidthWithItsBorder) {
    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* card = new Folha(16, 12, true);
    auto* inner = new QVBoxLayout(card);
    inner->addWidget(new QLabel("Texto"), 0, Qt::AlignLeft);
    layout->addWidget(card);
    auto* rule = new Regua(false);
    layout->addWidget(rule);
    page.resize(300, 120);
    page.show();
    EXPECT_EQ(card->width(), 300);
    EXPECT_EQ(rule->width(), 300);
    EXPECT_EQ(rule->height(), 1);
    EXPECT_EQ(Regua(true).height(), 2); // 1.5 drawn in a 2 px row
    EXPECT_EQ(card->contentsMargins(), QMargins(16, 16, 16, 16));
    const QImage img = card->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const int midY = img.height() / 2;
    // Highlighted: ink at the left edge, white inside.
    EXPECT_LT(qRed(img.pixel(0, midY)), 120);
    EXPECT_EQ(img.pixel(8, midY), qRgb(255, 255, 255));
    card->setHighlighted(false);
    const QImage plain = card->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(plain.pixel(0, midY), Brand::nevoa().rgb());
}

} // namespace
