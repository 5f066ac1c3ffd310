#pragma once

#include <QWidget>

namespace nolvea {

// Groups glass surfaces with a spacing. In the flat look it adds nothing: its content lays
// out exactly as it would alone.
class LiquidGlassContainer : public QWidget {
    Q_OBJECT

public:
    LiquidGlassContainer(double spacing, QWidget* content, QWidget* parent = nullptr);

    double spacing() const { return m_spacing; }
    QWidget* content() const { return m_content; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    double m_spacing;
    QWidget* m_content;
};

} // namespace nolvea
