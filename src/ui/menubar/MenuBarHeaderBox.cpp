#include "ui/menubar/MenuBarHeaderBox.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Theme.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

namespace nolvea {

MenuBarHeaderBox::MenuBarHeaderBox(QWidget* content, QWidget* parent)
    : QWidget(parent)
    , m_content(content) {
    m_content->setParent(this);
    m_content->installEventFilter(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_height.advance(dt);
        const int now = int(std::lround(m_height.value()));
        if (now != m_lastHeight) {
            m_lastHeight = now;
            updateGeometry();
        }
        return moving;
    });
    m_height.jump(naturalHeight(width()));
    m_lastHeight = int(std::lround(m_height.value()));
    place();
}

int MenuBarHeaderBox::naturalHeight(int width) const {
    if (m_content->hasHeightForWidth() && width > 0) return m_content->heightForWidth(width);
    return std::max(m_content->sizeHint().height(), m_content->minimumHeight());
}

int MenuBarHeaderBox::targetHeight() const {
    return int(std::lround(m_height.target()));
}

bool MenuBarHeaderBox::isResizing() const {
    return !m_height.isSettled();
}

QSize MenuBarHeaderBox::sizeHint() const {
    return {m_content->sizeHint().width(), std::max(0, int(std::lround(m_height.value())))};
}

QSize MenuBarHeaderBox::minimumSizeHint() const {
    return {m_content->minimumSizeHint().width(), sizeHint().height()};
}

void MenuBarHeaderBox::resizeEvent(QResizeEvent*) {
    follow();
    place();
}

void MenuBarHeaderBox::showEvent(QShowEvent*) {
    // Nothing moves while the window is away: it opens at the header's height.
    m_height.jump(naturalHeight(width()));
    m_lastHeight = int(std::lround(m_height.value()));
    updateGeometry();
    place();
}

bool MenuBarHeaderBox::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_content && e->type() == QEvent::LayoutRequest) {
        follow();
        place();
    }
    return false;
}

void MenuBarHeaderBox::follow() {
    const int wanted = naturalHeight(width());
    if (wanted == targetHeight()) return;
    // At once while the window is away or motion is reduced.
    m_driver->animate(m_height, wanted, Theme::snappy());
    m_lastHeight = int(std::lround(m_height.value()));
    updateGeometry();
}

void MenuBarHeaderBox::place() {
    // The content has its whole height at once, centred in the box while the box catches up,
    // as the row's items are centred.
    const int full = naturalHeight(width());
    m_content->setGeometry(0, (height() - full) / 2, width(), full);
}

} // namespace nolvea
