#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace nolvea {

// The fonts of the settings screens and the label that shows text as it stands: text from
// outside (error messages, file and server names) is never read as markup.
class SettingsText {
public:
    enum class Style { cardTitle, cardFooter, rowTitle, rowDetail };

    // The brand face at a fixed size, else the system font at the same size and weight.
    static QFont font(Style style);
    static QColor color(Style style);
    // A plain-text font of `pixels` and `weight`, optionally monospaced.
    static QFont systemFont(double pixels, QFont::Weight weight = QFont::Normal,
                            bool monospaced = false);

    // A wrapping plain-text label.
    static QLabel* label(const QString& text, const QFont& font, const QColor& color,
                         QWidget* parent = nullptr);
    static QLabel* label(const QString& text, Style style, QWidget* parent = nullptr);

    // A thin horizontal rule between the rows of a card.
    static QWidget* divider(QWidget* parent = nullptr);

    SettingsText() = delete;
};

} // namespace nolvea
