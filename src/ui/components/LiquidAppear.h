#pragma once

#include "ui/components/EffectsModel.h"

class QPainter;
class QRectF;

namespace nolvea {

// Applies an appearance of the shrink-drop-fade transition to a painter drawing `bounds`:
// scaled about the bottom centre, moved down, faded.
class LiquidAppear {
public:
    static void apply(QPainter& p, const QRectF& bounds, const EffectsModel::Appearance& a);

    LiquidAppear() = delete;
};

} // namespace nolvea
