#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>

class QLabel;
class QLineEdit;

namespace nolvea {

// The island's text look: white at fixed opacities on black, plain text only.
namespace NotchStyle {

QLabel* label(const QString& text, double pixels, QFont::Weight weight = QFont::Normal,
              double opacity = 1.0);
// Gives `label` that look.
void style(QLabel* label, double pixels, QFont::Weight weight = QFont::Normal,
           double opacity = 1.0);
// A one-line field on a faint capsule, as the request and reply fields are.
void styleField(QLineEdit* field, double pixels);
// A symbol by name; a tool's symbol we have no drawing for shows as sparkles.
QPixmap symbol(const QString& name, int side, const QColor& color);

} // namespace NotchStyle

} // namespace nolvea
