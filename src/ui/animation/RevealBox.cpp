#include "ui/animation/RevealBox.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

namespace nolvea {

RevealBox::RevealBox(QWidget* content, QWidget* parent)
    : QWidget(parent)
    , m_content(content) {
    m_content->setParent(this);
    m_content->installEventFilter(this);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    place();
}

void RevealBox::setFraction(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (fraction == m_fraction) return;
    m_fraction = fraction;
    updateGeometry();
    place();
}

int RevealBox::contentHeight(int width) const {
    if (m_content->hasHeightForWidth() && width > 0) return m_content->heightForWidth(width);
    return std::max(m_content->sizeHint().height(), m_content->minimumHeight());
}

int RevealBox::heightForWidth(int width) const {
    return int(std::lround(m_fraction * contentHeight(width)));
}

QSize RevealBox::sizeHint() const {
    return {m_content->sizeHint().width(), heightForWidth(width())};
}

QSize RevealBox::minimumSizeHint() const {
    return {m_content->minimumSizeHint().width(), 0};
}

void RevealBox::resizeEvent(QResizeEvent*) {
    place();
}

bool RevealBox::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_content && e->type() == QEvent::LayoutRequest) {
        updateGeometry();
        place();
    }
    return false;
}

void RevealBox::place() {
    // The content keeps its whole height; its top is cut while the box is shorter.
    const int full = contentHeight(width());
    m_content->setGeometry(0, height() - full, width(), full);
}

} // namespace nolvea
