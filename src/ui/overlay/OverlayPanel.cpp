#include "ui/overlay/OverlayPanel.h"

#include "platform/PanelWindowing.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QMouseEvent>

namespace nolvea {

OverlayPanel::OverlayPanel(QSize size, QWidget* root)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
    , m_root(root)
    , m_windowing(Platform::find<PanelWindowing>()) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(false);
    resize(size);
    if (m_root) {
        // No layout: the content never sizes the panel.
        m_root->setParent(this);
        m_root->setGeometry(rect());
        m_root->installEventFilter(this);
    }
    qApp->installEventFilter(this);
}

OverlayPanel::~OverlayPanel() {
    if (isKey()) resignKey();
}

quintptr OverlayPanel::nativeId() const {
    return testAttribute(Qt::WA_WState_Created) ? quintptr(winId()) : 0;
}

void OverlayPanel::setAllowsKey(bool allows) {
    if (m_allowsKey == allows) return;
    m_allowsKey = allows;
    if (!allows) resignKey();
    Q_EMIT allowsKeyChanged(allows);
}

bool OverlayPanel::isKey() const {
    const quintptr id = nativeId();
    if (!id) return false;
    if (m_windowing) return m_windowing->hasFocusWithin(id);
    return isActiveWindow();
}

void OverlayPanel::setIgnoresMouseEvents(bool ignores) {
    if (m_ignoresMouse == ignores) return;
    m_ignoresMouse = ignores;
    updateRegions();
}

QRegion OverlayPanel::drawnRegion() const {
    if (m_drawn) return *m_drawn & rect();
    QRegion region;
    if (m_root)
        for (auto* child : m_root->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                region += QRect(m_root->mapTo(this, child->pos()), child->size());
    return region & rect();
}

void OverlayPanel::setDrawnRegion(std::optional<QRegion> region) {
    m_drawn = std::move(region);
    updateRegions();
}

void OverlayPanel::updateRegions() {
    const quintptr id = nativeId();
    if (!id || !m_windowing) return;
    const QRegion drawn = drawnRegion();
    const QList<QRect> rects(drawn.begin(), drawn.end());
    m_windowing->setInputRegion(id, m_ignoresMouse ? QList<QRect>{} : rects);
    // Without a compositor the clear pixels would show as black: cut the window to its shape.
    if (m_windowing->compositorRunning())
        m_windowing->setShape(id, std::nullopt);
    else
        m_windowing->setShape(id, rects);
}

bool OverlayPanel::makeKey() {
    if (!m_allowsKey || !isVisible()) return false;
    const quintptr id = nativeId();
    if (!id) return false;
    if (!m_windowing) {
        activateWindow();
        return true;
    }
    if (m_windowing->hasFocusWithin(id)) return true;
    m_previousFocus = m_windowing->focusedWindow();
    return m_windowing->focusWindow(id);
}

void OverlayPanel::resignKey() {
    const quintptr previous = m_previousFocus;
    m_previousFocus = 0;
    if (!m_windowing || !isKey()) return;
    if (QWidget* f = focusWidget()) f->clearFocus();
    if (previous) m_windowing->focusWindow(previous);
}

bool OverlayPanel::takesTextInput(const QWidget* w) {
    return w && w->isEnabled() && w->testAttribute(Qt::WA_InputMethodEnabled) &&
           (w->focusPolicy() & Qt::ClickFocus);
}

bool OverlayPanel::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_root &&
        (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Resize ||
         e->type() == QEvent::ChildAdded || e->type() == QEvent::ChildRemoved)) {
        if (!m_drawn) updateRegions();
        return false;
    }
    if ((e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) &&
        watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        // A click on a field of the panel takes the keyboard, while that is allowed; a click
        // anywhere else in the panel does not.
        if (w->window() == this && m_allowsKey && takesTextInput(w)) {
            if (makeKey()) w->setFocus(Qt::MouseFocusReason);
        }
    }
    return false;
}

bool OverlayPanel::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WinIdChange:
        if (m_windowing && nativeId()) m_windowing->prepareFloatingPanel(nativeId());
        break;
    case QEvent::Show:
        if (m_windowing && nativeId()) m_windowing->prepareFloatingPanel(nativeId());
        updateRegions();
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void OverlayPanel::setVisible(bool visible) {
    // Once unmapped, the window system has already moved the keyboard elsewhere.
    if (!visible && isKey()) resignKey();
    QWidget::setVisible(visible);
}

void OverlayPanel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (m_root) m_root->setGeometry(rect());
    updateRegions();
}

} // namespace nolvea
