#include "ui/components/Theme.h"

#include "ui/components/Brand.h"

namespace nolvea {

const Theme::Palette& Theme::dictation() {
    static const Palette p{{Brand::tintaClara(), Brand::prata(), Brand::chuva(), Qt::white},
                           Brand::tintaClara(),
                           Brand::withOpacity(Qt::white, 0.06)};
    return p;
}

const Theme::Palette& Theme::agent() {
    static const Palette p{
        {Brand::roxo(), Brand::roxoClaro(), Brand::roxo2(), QColor(201, 162, 242)},
        Brand::roxoClaro(),
        Brand::withOpacity(Brand::roxo(), 0.14)};
    return p;
}

const QColor& Theme::success() {
    static const QColor c(43, 182, 115);
    return c;
}

const QColor& Theme::failure() {
    static const QColor c(229, 72, 60);
    return c;
}

const SpringSpec& Theme::morph() {
    static const SpringSpec s{0.42, 0.78, 0};
    return s;
}

const SpringSpec& Theme::snappy() {
    static const SpringSpec s{0.28, 0.82, 0};
    return s;
}

const SpringSpec& Theme::gentle() {
    static const SpringSpec s{0.55, 0.86, 0};
    return s;
}

} // namespace nolvea
