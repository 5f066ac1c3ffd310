#pragma once

#include <QColor>
#include <QFont>

namespace nolvea {

// The tray window's inks and type: light text on the dark window, in three strengths.
class MenuBarStyle {
public:
    static QColor background();
    static QColor primary();
    static QColor secondary();
    static QColor tertiary();
    // The system face at `pixels` logical pixels.
    static QFont font(double pixels, QFont::Weight weight = QFont::Normal);
    static QFont monospace(double pixels);

    MenuBarStyle() = delete;
};

} // namespace nolvea
