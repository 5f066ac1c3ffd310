#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

class QLabel;

namespace nolvea {

// A drawn symbol before a text: "Permitido", "Configurado", an account, a test's result. A
// screen reader reads the text alone.
class OnboardingSymbolLabel : public QWidget {
    Q_OBJECT

public:
    struct Look {
        QFont font;
        QColor color;
        int symbolSide = 13;
        int spacing = 6;
        bool alignTop = false; // the symbol beside the first line of a wrapping text
    };

    OnboardingSymbolLabel(const QString& symbol, const QColor& symbolColor, const QString& text,
                          const Look& look, QWidget* parent = nullptr);

    QString symbol() const { return m_symbol; }
    QString text() const;
    QLabel* textLabel() const { return m_text; }
    void setSymbol(const QString& symbol, const QColor& color);
    void setText(const QString& text);

private:
    QLabel* m_icon;
    QLabel* m_text;
    QString m_symbol;
    int m_side;
};

} // namespace nolvea
