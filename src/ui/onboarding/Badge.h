#pragma once

#include <QColor>
#include <QWidget>

namespace nolvea {

// The small coloured capsule label, with a symbol before the text when it has one.
class Badge : public QWidget {
    Q_OBJECT

public:
    Badge(const QString& text, const QColor& color, QWidget* parent = nullptr,
          const QString& symbol = {});

    QString text() const { return m_text; }
    QString symbol() const { return m_symbol; }
    void setText(const QString& text);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_text;
    QColor m_color;
    QString m_symbol;
};

} // namespace nolvea
