#include "ui/notch/NotchStyle.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/Symbols.h"

#include <QLabel>
#include <QLineEdit>

namespace nolvea::NotchStyle {

QLabel* label(const QString& text, double pixels, QFont::Weight weight, double opacity) {
    auto* l = new QLabel(text);
    style(l, pixels, weight, opacity);
    return l;
}

void style(QLabel* l, double pixels, QFont::Weight weight, double opacity) {
    l->setTextFormat(Qt::PlainText);
    QFont f = l->font();
    BrandFont::setPixels(f, pixels);
    f.setWeight(weight);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Brand::withOpacity(Qt::white, opacity));
    l->setPalette(pal);
}

void styleField(QLineEdit* field, double pixels) {
    QFont f = field->font();
    BrandFont::setPixels(f, pixels);
    field->setFont(f);
    field->setFrame(false);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Text, Qt::white);
    pal.setColor(QPalette::PlaceholderText, Brand::withOpacity(Qt::white, 0.4));
    field->setPalette(pal);
    field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; }"));
}

QPixmap symbol(const QString& name, int side, const QColor& color) {
    QPixmap drawn = Symbols::pixmap(name, side, color);
    return drawn.isNull() ? Symbols::pixmap(QStringLiteral("sparkles"), side, color) : drawn;
}

} // namespace nolvea::NotchStyle
