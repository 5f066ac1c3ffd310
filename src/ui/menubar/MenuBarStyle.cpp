#include "ui/menubar/MenuBarStyle.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"

#include <QFontDatabase>

namespace nolvea {

QColor MenuBarStyle::background() {
    return QColor(30, 28, 36);
}

QPalette MenuBarStyle::palette(QPalette base) {
    base.setColor(QPalette::Window, background());
    base.setColor(QPalette::WindowText, primary());
    base.setColor(QPalette::ToolTipBase, background());
    base.setColor(QPalette::ToolTipText, primary());
    return base;
}

QColor MenuBarStyle::primary() {
    return Brand::withOpacity(Qt::white, 0.92);
}

QColor MenuBarStyle::secondary() {
    return Brand::withOpacity(Qt::white, 0.6);
}

QColor MenuBarStyle::tertiary() {
    return Brand::withOpacity(Qt::white, 0.35);
}

QFont MenuBarStyle::font(double pixels, QFont::Weight weight) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setWeight(weight);
    BrandFont::setPixels(f, pixels);
    return f;
}

QFont MenuBarStyle::monospace(double pixels) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    BrandFont::setPixels(f, pixels);
    return f;
}

} // namespace nolvea
