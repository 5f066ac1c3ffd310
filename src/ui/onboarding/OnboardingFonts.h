#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace nolvea::OnboardingFonts {

enum class Weight { regular, semibold, bold };

// The brand face at `pixels`, else the rounded system face of the same size and weight.
QFont brand(double pixels, Weight weight);
// The system font (texts the pages set in it whatever the brand font).
QFont system(double pixels, QFont::Weight weight);
// A wrapping label that shows its text as it stands.
QLabel* label(const QString& text, const QFont& font, const QColor& color,
              QWidget* parent = nullptr);
// A symbol in `color`, `side` pixels square; empty when the symbol is unknown.
QLabel* symbol(const QString& name, int side, const QColor& color, QWidget* parent = nullptr);

} // namespace nolvea::OnboardingFonts
