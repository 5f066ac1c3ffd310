#include "ui/settings/SettingsView.h"

#include "ui/components/Brand.h"

namespace nolvea {

SettingsView::SettingsView(QWidget* parent)
    : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Brand::chao());
    setPalette(p);
}

} // namespace nolvea
