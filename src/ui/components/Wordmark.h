#pragma once

#include <QBrush>
#include <QWidget>

namespace nolvea {

// The product name in the brand's semibold face, slightly tightened.
class Wordmark : public QWidget {
    Q_OBJECT

public:
    Wordmark(double size, QBrush style, QWidget* parent = nullptr);

    static QString text() { return QStringLiteral("Nolvea"); }
    // Letter spacing in pixels for a size: a little tighter than normal.
    static double tracking(double size) { return -0.015 * size; }
    static QFont fontFor(double size);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double m_size;
    QBrush m_style;
};

} // namespace nolvea
