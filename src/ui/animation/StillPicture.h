#pragma once

#include <QPixmap>
#include <QWidget>

namespace nolvea {

// A still picture of a widget that was replaced, left to fade or blur away while the widget
// itself is gone: nothing of it can be clicked, focused or read any more.
class StillPicture : public QWidget {
public:
    StillPicture(QPixmap picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

} // namespace nolvea
