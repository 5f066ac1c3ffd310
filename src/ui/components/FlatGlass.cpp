#include "ui/components/FlatGlass.h"

#include <QVariant>
#include <QWidget>

namespace nolvea {

namespace {
constexpr const char* kProperty = "nolveaFlatGlass";
}

void FlatGlass::set(QWidget* widget, bool flat) {
    widget->setProperty(kProperty, flat);
    widget->update();
    for (auto* child : widget->findChildren<QWidget*>())
        child->update();
}

void FlatGlass::clear(QWidget* widget) {
    widget->setProperty(kProperty, QVariant());
}

bool FlatGlass::isFlat(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(kProperty);
        if (v.isValid()) return v.toBool();
    }
    return false;
}

} // namespace nolvea
