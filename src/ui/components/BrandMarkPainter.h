#pragma once

#include "ui/components/BrandMarkModel.h"

class QPainter;

namespace nolvea {

// Draws one frame of the logo into `rect` (already of the logo's aspect).
class BrandMarkPainter {
public:
    // `ringOpacity` is the busy ring's share (0...1) before the morph is applied.
    static void paint(QPainter& p, const QRectF& rect, const BrandMarkInputs& in,
                      const BrandMarkFrame& frame, double ringOpacity);

    BrandMarkPainter() = delete;
};

} // namespace nolvea
