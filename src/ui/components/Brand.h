#pragma once

#include <QColor>

namespace nolvea {

// The twenty named colours of the identity, all sRGB and opaque.
class Brand {
public:
    static const QColor& noite();
    static const QColor& brasa();
    static const QColor& orquidea();
    static const QColor& ceu();
    static const QColor& roxo();
    static const QColor& chao();
    static const QColor& folha();
    static const QColor& tinta();
    static const QColor& tinta2();
    static const QColor& suave();
    static const QColor& chuva();
    static const QColor& prata();
    static const QColor& nevoa();
    static const QColor& roxo2();
    static const QColor& roxoTexto();
    static const QColor& roxoClaro();
    static const QColor& tintaClara();
    static const QColor& bordaCampo();
    static const QColor& verde();
    static const QColor& erro();

    // `color` with its opacity multiplied by `opacity`.
    static QColor withOpacity(const QColor& color, double opacity);

    Brand() = delete;
};

} // namespace nolvea
