#pragma once

#include <QColor>

namespace nolvea {

// How a confirmation card is drawn: beside the pill, or inside the island, which is smaller,
// states the request it answers and tints its confirm button with the brand's purple.
struct ConfirmCardStyle {
    int spacing = 14;       // between the card's rows
    int headerSpacing = 12; // between the badge and the texts
    int badgeSide = 40;
    int badgeSymbol = 17;
    double badgeFill = 0.12; // the disc's white
    bool badgeGlass = true;  // the agent's glass tint and a glass edge on the disc
    double titlePixels = 15;
    int textSpacing = 4;
    double detailPixels = 13;
    bool leadingDetail = true; // the first detail in full white, up to four lines
    bool detailsRise = true;   // the details rise in one after another
    bool requestLine = false;  // the request, dimmed, above the header
    QColor confirmTint{};      // the confirm button's fill; the agent's accent when invalid
    bool largeButtons = true;
    int buttonSpacing = 10;

    static ConfirmCardStyle overlay() { return {}; }
    static ConfirmCardStyle island();
};

} // namespace nolvea
