#include "ui/overlay/ConfirmCardStyle.h"

#include "ui/components/Brand.h"

namespace nolvea {

ConfirmCardStyle ConfirmCardStyle::island() {
    return {.spacing = 12,
            .headerSpacing = 10,
            .badgeSide = 32,
            .badgeSymbol = 14,
            .badgeFill = 0.08,
            .badgeGlass = false,
            .titlePixels = 14,
            .textSpacing = 2,
            .detailPixels = 12,
            .leadingDetail = false,
            .detailsRise = false,
            .requestLine = true,
            .confirmTint = Brand::roxo(),
            .largeButtons = false,
            .buttonSpacing = 8};
}

} // namespace nolvea
