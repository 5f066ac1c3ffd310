#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

namespace nolvea {

// The tray window's inks and type: light text on the dark window, in three strengths.
class MenuBarStyle {
public:
    static QColor background();
    static QColor primary();
    static QColor secondary();
    static QColor tertiary();
    // `base` with the window's background and ink, so that children drawn for a dark or light
    // backing pick the dark one.
    static QPalette palette(QPalette base);
    // The system face at `pixels` logical pixels.
    static QFont font(double pixels, QFont::Weight weight = QFont::Normal);
    static QFont monospace(double pixels);

    MenuBarStyle() = delete;
};

} // namespace nolvea
