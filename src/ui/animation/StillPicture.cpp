#include "ui/animation/StillPicture.h"

#include <QPainter>

namespace nolvea {

StillPicture::StillPicture(QPixmap picture, QWidget* parent)
    : QWidget(parent)
    , m_picture(std::move(picture)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(m_picture.deviceIndependentSize().toSize());
}

void StillPicture::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_picture);
}

} // namespace nolvea
