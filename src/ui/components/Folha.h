#pragma once

#include <QWidget>

namespace nolvea {

// The paper-sheet card: a white sheet with a hairline border around its content, as wide as
// it is offered, content at the leading edge. With padding 0 and no layout of its own it is
// the bare background.
class Folha : public QWidget {
    Q_OBJECT

public:
    Folha(double padding, double radius, bool highlighted, QWidget* parent = nullptr);

    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double m_radius;
    bool m_highlighted;
};

} // namespace nolvea
