#pragma once

#include <QColor>
#include <QWidget>

namespace nolvea {

// A symbol on a small round glass disc: the badges of the cards and the pill's drops.
class SymbolBadge : public QWidget {
    Q_OBJECT

public:
    struct Look {
        QString symbol{};
        int side = 34;        // the disc
        int symbolSide = 15;  // the symbol inside it
        QColor color{};       // the symbol's ink
        QColor tint{};        // the disc's tint; clear for plain glass
        bool outlined = true; // the glass edge
        double fill = 0.12;   // the disc's white, under the tint
    };

    explicit SymbolBadge(Look look, QWidget* parent = nullptr);

    const Look& look() const { return m_look; }
    void setSymbol(const QString& symbol);
    QSize sizeHint() const override { return {m_look.side, m_look.side}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Look m_look;
};

} // namespace nolvea
