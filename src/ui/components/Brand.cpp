#include "ui/components/Brand.h"

namespace nolvea {

namespace {

// The mark's colours are stored as three-decimal fractions, the site colours as bytes.
QColor fractions(float r, float g, float b) {
    return QColor::fromRgbF(r, g, b, 1.0f);
}

} // namespace

#define NOLVEA_BRAND_COLOR(name, value)                                                            \
    const QColor& Brand::name() {                                                                  \
        static const QColor c = value;                                                             \
        return c;                                                                                  \
    }

NOLVEA_BRAND_COLOR(noite, fractions(0.043f, 0.043f, 0.071f))
NOLVEA_BRAND_COLOR(brasa, fractions(1.0f, 0.478f, 0.349f))
NOLVEA_BRAND_COLOR(orquidea, fractions(0.769f, 0.42f, 1.0f))
NOLVEA_BRAND_COLOR(ceu, fractions(0.298f, 0.788f, 1.0f))
NOLVEA_BRAND_COLOR(roxo, fractions(0.608f, 0.302f, 0.878f))
NOLVEA_BRAND_COLOR(chao, QColor(251, 251, 250))
NOLVEA_BRAND_COLOR(folha, QColor(255, 255, 255))
NOLVEA_BRAND_COLOR(tinta, QColor(13, 13, 15))
NOLVEA_BRAND_COLOR(tinta2, QColor(38, 38, 43))
NOLVEA_BRAND_COLOR(suave, QColor(92, 97, 104))
NOLVEA_BRAND_COLOR(chuva, QColor(142, 148, 155))
NOLVEA_BRAND_COLOR(prata, QColor(192, 197, 204))
NOLVEA_BRAND_COLOR(nevoa, QColor(231, 232, 234))
NOLVEA_BRAND_COLOR(roxo2, QColor(138, 62, 208))
NOLVEA_BRAND_COLOR(roxoTexto, QColor(122, 53, 188))
NOLVEA_BRAND_COLOR(roxoClaro, QColor(181, 123, 235))
NOLVEA_BRAND_COLOR(tintaClara, QColor(242, 242, 240))
NOLVEA_BRAND_COLOR(bordaCampo, QColor(205, 208, 213))
NOLVEA_BRAND_COLOR(verde, QColor(31, 157, 91))
NOLVEA_BRAND_COLOR(erro, QColor(194, 54, 43))

#undef NOLVEA_BRAND_COLOR

QColor Brand::withOpacity(const QColor& color, double opacity) {
    QColor c = color;
    c.setAlphaF(float(color.alphaF() * opacity));
    return c;
}

} // namespace nolvea
