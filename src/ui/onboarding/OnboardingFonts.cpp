#include "ui/onboarding/OnboardingFonts.h"

#include "ui/components/BrandFont.h"
#include "ui/components/SettingsText.h"
#include "ui/components/Symbols.h"

#include <QLabel>

namespace nolvea::OnboardingFonts {

QFont brand(double pixels, Weight weight) {
    switch (weight) {
    case Weight::regular:
        return BrandFont::font(BrandFont::Face::regular, pixels, QFont::Normal);
    case Weight::semibold:
        return BrandFont::font(BrandFont::Face::semiBold, pixels, QFont::DemiBold);
    case Weight::bold: {
        QFont f = BrandFont::font(BrandFont::Face::semiBold, pixels, QFont::Bold);
        f.setWeight(QFont::Bold);
        return f;
    }
    }
    return {};
}

QFont system(double pixels, QFont::Weight weight) {
    return SettingsText::systemFont(pixels, weight);
}

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent) {
    return SettingsText::label(text, font, color, parent);
}

QLabel* symbol(const QString& name, int side, const QColor& color, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setPixmap(Symbols::pixmap(name, side, color));
    l->setFixedSize(side, side);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace nolvea::OnboardingFonts
