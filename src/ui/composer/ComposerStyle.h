#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QLineEdit;
class QPainter;
class QRectF;

namespace nolvea {

// The composer's inks and plain controls, white on the overlay's dark glass.
namespace ComposerStyle {

QFont font(double pixels, QFont::Weight weight = QFont::Normal);
QColor ink(double opacity = 1);
QColor warning(double opacity = 1);
// A plain-text label; texts come from the model and its tools, never rich text.
QLabel* label(const QString& text, double pixels, QFont::Weight weight, const QColor& color);
// A borderless single-line field.
void plainField(QLineEdit* field, double pixels, QFont::Weight weight = QFont::Normal);
// The fields block's and body's rounded well.
void paintWell(QPainter& p, const QRectF& rect, double radius = 14);

} // namespace ComposerStyle

} // namespace nolvea
