#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

namespace nolvea {

class FrameDriver;

// A status line with a band of light sweeping across its letters every 1.6 s.
class ShimmerText : public QWidget {
    Q_OBJECT

public:
    ShimmerText(QString text, QFont font, QColor tint, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }

    // The line at time `t`: the text in the secondary colour with the band inside its letters.
    static void paint(QPainter& p, const QRectF& rect, const QString& text, const QFont& font,
                      const QColor& base, const QColor& tint, double t);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_text;
    QFont m_font;
    QColor m_tint;
    FrameDriver* m_driver;
};

} // namespace nolvea
