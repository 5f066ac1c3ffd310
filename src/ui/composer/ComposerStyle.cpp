#include "ui/composer/ComposerStyle.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace nolvea::ComposerStyle {

QFont font(double pixels, QFont::Weight weight) {
    QFont f;
    BrandFont::setPixels(f, pixels);
    f.setWeight(weight);
    return f;
}

QColor ink(double opacity) {
    return Brand::withOpacity(Qt::white, opacity);
}

QColor warning(double opacity) {
    return QColor::fromRgbF(1.0f, 0.62f, 0.04f, float(opacity));
}

QLabel* label(const QString& text, double pixels, QFont::Weight weight, const QColor& color) {
    auto* l = new QLabel;
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setFont(font(pixels, weight));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, color);
    l->setPalette(pal);
    return l;
}

void plainField(QLineEdit* field, double pixels, QFont::Weight weight) {
    field->setFrame(false);
    field->setFont(font(pixels, weight));
    field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: white; }"));
    QPalette pal = field->palette();
    pal.setColor(QPalette::PlaceholderText, ink(0.45));
    field->setPalette(pal);
}

void paintWell(QPainter& p, const QRectF& rect, double radius) {
    QPainterPath well;
    well.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.fillPath(well, ink(0.06));
    p.setPen(QPen(ink(0.08), 1));
    p.drawPath(well);
}

} // namespace nolvea::ComposerStyle
