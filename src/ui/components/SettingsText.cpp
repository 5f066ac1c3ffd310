#include "ui/components/SettingsText.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/SiteKit.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>

namespace nolvea {

namespace {

struct StyleSpec {
    double pixels;
    QFont::Weight weight;
};

StyleSpec spec(SettingsText::Style style) {
    switch (style) {
    case SettingsText::Style::cardTitle:
        return {17, QFont::Bold};
    case SettingsText::Style::cardFooter:
        return {12, QFont::Normal};
    case SettingsText::Style::rowTitle:
        return {14, QFont::DemiBold};
    case SettingsText::Style::rowDetail:
        break;
    }
    return {12, QFont::Normal};
}

class Rule : public QWidget {
public:
    explicit Rule(QWidget* parent)
        : QWidget(parent) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), SiteKit::ruleColor(false));
    }
};

} // namespace

QFont SettingsText::font(Style style) {
    const StyleSpec s = spec(style);
    QFont f;
    if (BrandFont::isAvailable()) {
        f = QFont(QString::fromLatin1(BrandFont::kFamily));
        f.setWeight(s.weight);
    } else {
        f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        f.setWeight(s.weight);
    }
    BrandFont::setPixels(f, s.pixels);
    return f;
}

QColor SettingsText::color(Style style) {
    switch (style) {
    case Style::cardTitle:
    case Style::rowTitle:
        return Brand::tinta();
    case Style::cardFooter:
    case Style::rowDetail:
        break;
    }
    return Brand::suave();
}

QFont SettingsText::systemFont(double pixels, QFont::Weight weight, bool monospaced) {
    QFont f = QFontDatabase::systemFont(monospaced ? QFontDatabase::FixedFont
                                                   : QFontDatabase::GeneralFont);
    f.setWeight(weight);
    BrandFont::setPixels(f, pixels);
    return f;
}

QLabel* SettingsText::label(const QString& text, const QFont& font, const QColor& color,
                            QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setWordWrap(true);
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
    return l;
}

QLabel* SettingsText::label(const QString& text, Style style, QWidget* parent) {
    return label(text, font(style), color(style), parent);
}

QWidget* SettingsText::divider(QWidget* parent) {
    return new Rule(parent);
}

} // namespace nolvea
