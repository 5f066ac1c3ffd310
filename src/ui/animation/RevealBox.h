#pragma once

#include <QWidget>

namespace nolvea {

// Holds one widget and shows a fraction of its height, the widget sliding in from the top edge
// as the box grows: a piece entering between others pushes them aside instead of jumping in.
class RevealBox : public QWidget {
public:
    explicit RevealBox(QWidget* content, QWidget* parent = nullptr);

    QWidget* content() const { return m_content; }
    double fraction() const { return m_fraction; }
    void setFraction(double fraction);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent*) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    int contentHeight(int width) const;
    void place();

    QWidget* m_content;
    double m_fraction = 1;
};

} // namespace nolvea
