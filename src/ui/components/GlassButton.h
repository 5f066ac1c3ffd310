#pragma once

#include <QAbstractButton>
#include <QColor>

namespace nolvea {

// The small capsule buttons of the cards: a title with an optional symbol and key hint, on
// the glass look, or filled with a tint when it is the prominent choice. A button with a
// symbol and no title is a round icon button; its accessible name says what it does.
class GlassButton : public QAbstractButton {
    Q_OBJECT

public:
    struct Look {
        QString title{};
        QString symbol{};                  // drawn after the title, or alone
        QString keyHint{};                 // a short dimmed key name after the title, such as "esc"
        std::optional<QColor> prominent{}; // the fill of the prominent style
        bool large = false;                // the large control size
        bool symbolFirst = false;
        std::optional<QColor> ink{};    // the title's and symbol's colour; white when unset
        std::optional<double> corner{}; // a rounded square's corner; a capsule when unset
    };

    explicit GlassButton(Look look, QWidget* parent = nullptr);

    const Look& look() const { return m_look; }
    void setLook(Look look);
    // Where the symbol sits, in this button's coordinates; empty without a symbol.
    QRect symbolRect() const;
    // Keeps the symbol's room but leaves it undrawn, for an owner that shows it there itself
    // to move it.
    void setSymbolDrawn(bool drawn);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    QFont titleFont() const;
    QFont hintFont() const;
    int symbolSide() const;
    int capsuleHeight() const;

    Look m_look;
    bool m_hover = false;
    bool m_symbolDrawn = true;
};

} // namespace nolvea
