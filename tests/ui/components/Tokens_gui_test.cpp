#include "ui/components/Brand.h"
#include "ui/components/Theme.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

struct ColourCase {
    const char* name;
    const QColor& (*token)();
    double r, g, b;
};

// Components as stored: the mark's colours as three-decimal fractions, the site's as bytes.
const ColourCase kBrand[] = {
    {"noite", &Brand::noite, 0.043, 0.043, 0.071},
    {"brasa", &Brand::brasa, 1.0, 0.478, 0.349},
    {"orquidea", &Brand::orquidea, 0.769, 0.42, 1.0},
    {"ceu", &Brand::ceu, 0.298, 0.788, 1.0},
    {"roxo", &Brand::roxo, 0.608, 0.302, 0.878},
    {"chao", &Brand::chao, 251 / 255., 251 / 255., 250 / 255.},
    {"folha", &Brand::folha, 1, 1, 1},
    {"tinta", &Brand::tinta, 13 / 255., 13 / 255., 15 / 255.},
    {"tinta2", &Brand::tinta2, 38 / 255., 38 / 255., 43 / 255.},
    {"suave", &Brand::suave, 92 / 255., 97 / 255., 104 / 255.},
    {"chuva", &Brand::chuva, 142 / 255., 148 / 255., 155 / 255.},
    {"prata", &Brand::prata, 192 / 255., 197 / 255., 0.8},
    {"nevoa", &Brand::nevoa, 231 / 255., 232 / 255., 234 / 255.},
    {"roxo2", &Brand::roxo2, 138 / 255., 62 / 255., 208 / 255.},
    {"roxoTexto", &Brand::roxoTexto, 122 / 255., 53 / 255., 188 / 255.},
    {"roxoClaro", &Brand::roxoClaro, 181 / 255., 123 / 255., 235 / 255.},
    {"tintaClara", &Brand::tintaClara, 242 / 255., 242 / 255., 240 / 255.},
    {"bordaCampo", &Brand::bordaCampo, 205 / 255., 208 / 255., 213 / 255.},
    {"verde", &Brand::verde, 31 / 255., 157 / 255., 91 / 255.},
    {"erro", &Brand::erro, 194 / 255., 54 / 255., 43 / 255.},
    {"success", &Theme::success, 43 / 255., 182 / 255., 115 / 255.},
    {"failure", &Theme::failure, 229 / 255., 72 / 255., 60 / 255.},
};

TEST(Tokens, ColoursHaveTheirComponentsAndAreOpaqueSRGB) {
    for (const auto& c : kBrand) {
        SCOPED_TRACE(c.name);
        const QColor& v = c.token();
        EXPECT_EQ(v.spec(), QColor::Rgb);
        // 16 bits a component: 1/65535 apart at most.
        EXPECT_NEAR(v.redF(), c.r, 2e-5);
        EXPECT_NEAR(v.greenF(), c.g, 2e-5);
        EXPECT_NEAR(v.blueF(), c.b, 2e-5);
        EXPECT_EQ(v.alphaF(), 1.0f);
        EXPECT_EQ(c.token(), v) << "reading twice gives the same value";
    }
    // The mark's night blue is a fraction, not a byte value.
    EXPECT_NE(Brand::noite().redF(), 11 / 255.f);
    EXPECT_NE(Theme::success(), Brand::verde());
    EXPECT_NE(Theme::failure(), Brand::erro());
}

TEST(Tokens, PalettesInTheirOrder) {
    const auto& d = Theme::dictation();
    ASSERT_EQ(d.colors.size(), 4);
    EXPECT_EQ(d.colors[0], Brand::tintaClara());
    EXPECT_EQ(d.colors[1], Brand::prata());
    EXPECT_EQ(d.colors[2], Brand::chuva());
    EXPECT_EQ(d.colors[3], QColor(Qt::white));
    EXPECT_EQ(d.accent, d.colors[0]);
    EXPECT_EQ(d.glassTint.rgb(), QColor(Qt::white).rgb());
    EXPECT_NEAR(d.glassTint.alphaF(), 0.06, 1e-3);

    const auto& a = Theme::agent();
    ASSERT_EQ(a.colors.size(), 4);
    EXPECT_EQ(a.colors[0], Brand::roxo());
    EXPECT_EQ(a.colors[1], Brand::roxoClaro());
    EXPECT_EQ(a.colors[2], Brand::roxo2());
    EXPECT_EQ(a.colors[3], QColor(201, 162, 242));
    EXPECT_EQ(a.accent, a.colors[1]);
    EXPECT_EQ(a.glassTint.rgb(), Brand::roxo().rgb());
    EXPECT_NEAR(a.glassTint.alphaF(), 0.14, 1e-3);
}

TEST(Tokens, Springs) {
    EXPECT_EQ(Theme::morph(), (SpringSpec{0.42, 0.78, 0}));
    EXPECT_EQ(Theme::snappy(), (SpringSpec{0.28, 0.82, 0}));
    EXPECT_EQ(Theme::gentle(), (SpringSpec{0.55, 0.86, 0}));
}

} // namespace
