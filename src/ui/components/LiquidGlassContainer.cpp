#include "ui/components/LiquidGlassContainer.h"

#include <QResizeEvent>

namespace nolvea {

LiquidGlassContainer::LiquidGlassContainer(double spacing, QWidget* content, QWidget* parent)
    : QWidget(parent)
    , m_spacing(spacing)
    , m_content(content) {
    setAttribute(Qt::WA_TranslucentBackground);
    content->setParent(this);
    setSizePolicy(content->sizePolicy());
}

QSize LiquidGlassContainer::sizeHint() const {
    return m_content->sizeHint();
}

QSize LiquidGlassContainer::minimumSizeHint() const {
    return m_content->minimumSizeHint();
}

void LiquidGlassContainer::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    m_content->setGeometry(rect());
}

} // namespace nolvea
