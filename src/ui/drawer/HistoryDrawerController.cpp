#include "ui/drawer/HistoryDrawerController.h"

#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "ui/drawer/DrawerEdge.h"
#include "ui/drawer/HistoryDrawerModel.h"
#include "ui/drawer/HistoryDrawerView.h"
#include "ui/overlay/OverlayPanel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace nolvea {

namespace {

QRect screenUsableArea(const QRect& screen) {
    for (QScreen* s : QGuiApplication::screens())
        if (s->geometry() == screen) return s->availableGeometry();
    return screen;
}

void stop(const std::unique_ptr<ClockTimer>& timer) {
    // Stopped, not dropped: the timer may be the one whose callback runs now.
    if (timer) timer->stop();
}

} // namespace

HistoryDrawerController::HistoryDrawerController(Options options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options)) {
    if (!m_options.settings) m_options.settings = &AppSettings::shared();
    if (!m_options.history) m_options.history = &HistoryStore::shared();
    if (!m_options.usableArea) m_options.usableArea = screenUsableArea;
    m_model = new HistoryDrawerModel(this);
    m_view = new HistoryDrawerView(*m_model, *m_options.history, *m_options.settings,
                                   [this] { close(); });
    m_panel = std::make_unique<OverlayPanel>(QSize(DrawerEdge::kWidth, 600), m_view);
    m_panel->setAccessibleName(QStringLiteral("Histórico"));
    connect(m_options.settings, &AppSettings::historyDrawerEnabledChanged, this,
            &HistoryDrawerController::refreshWatch);
    // The keyboard went to another window: look at the pointer at once.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (m_model->isOpen() && !m_panel->isKey()) updateClose();
    });
    refreshWatch();
}

HistoryDrawerController::~HistoryDrawerController() = default;

QPoint HistoryDrawerController::pointer() const {
    return m_options.pointer ? m_options.pointer->position() : QCursor::pos();
}

void HistoryDrawerController::refreshWatch() {
    const bool wanted =
        m_options.pointer && (m_options.settings->historyDrawerEnabled() || m_model->isOpen());
    if (!wanted) {
        m_watch.reset();
        stop(m_dwell);
        return;
    }
    if (!m_watch) m_watch = m_options.pointer->watch([this](const auto& e) { pointerEvent(e); });
}

void HistoryDrawerController::pointerEvent(const PointerSource::Event& event) {
    if (event.kind == PointerSource::Event::Kind::pressed) {
        pressed(event.position);
        return;
    }
    mouseMoved(event.position);
}

void HistoryDrawerController::pressed(QPoint at) {
    if (m_model->isOpen() && !grownFrame().contains(at) && !showsOwnPopup()) close();
}

bool HistoryDrawerController::eventFilter(QObject* watched, QEvent* event) {
    // A press reaches the window first and its widget after: the window's alone counts.
    if (event->type() == QEvent::MouseButtonPress && watched->isWindowType()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton || press->button() == Qt::RightButton)
            pressed(press->globalPosition().toPoint());
    }
    return QObject::eventFilter(watched, event);
}

void HistoryDrawerController::mouseMoved(QPoint p) {
    if (m_model->isOpen()) {
        updateClose();
        return;
    }
    if (!m_options.settings->historyDrawerEnabled() || !inHotZone(p)) {
        stop(m_dwell);
        return;
    }
    if (isDwelling()) return;
    m_dwell = Clock::shared().schedule(kDwell, false, [this] {
        // Still at the edge where it rested: the setting was looked at on every move.
        if (inHotZone(pointer())) open();
    });
}

bool HistoryDrawerController::inHotZone(QPoint p) const {
    if (!m_options.pointer) return false;
    const auto screen = DrawerEdge::screenAt(m_options.pointer->screens(), p);
    // A drag that reaches the edge is no rest there.
    return screen && DrawerEdge::inHotZone(*screen, p) && !m_options.pointer->isButtonHeld();
}

void HistoryDrawerController::open() {
    const QPoint p = pointer();
    QList<QRect> screens;
    if (m_options.pointer) screens = m_options.pointer->screens();
    if (screens.isEmpty())
        for (QScreen* s : QGuiApplication::screens())
            screens.append(s->geometry());
    const auto screen = DrawerEdge::screenAt(screens, p);
    if (!screen) return; // no screen to open on
    m_panel->setGeometry(DrawerEdge::panelFrame(m_options.usableArea(*screen)));
    stop(m_hide);
    stop(m_close);
    stop(m_dwell);
    m_waitingForEntry = !grownFrame().contains(p);
    m_panel->setIgnoresMouseEvents(false);
    m_panel->setAllowsKey(true);
    m_panel->show();
    m_panel->raise();
    qApp->installEventFilter(this);
    m_model->setOpen(true);
    m_panel->updateRegions();
    refreshWatch();
    startTracking();
}

void HistoryDrawerController::startTracking() {
    m_tracking = Clock::shared().schedule(kPoll, true, [this] {
        if (!m_model->isOpen()) {
            stop(m_tracking);
            return;
        }
        updateClose();
    });
}

QRect HistoryDrawerController::grownFrame() const {
    return DrawerEdge::grown(m_panel->geometry());
}

bool HistoryDrawerController::pointerOverPanel() const {
    return grownFrame().contains(pointer());
}

bool HistoryDrawerController::showsOwnPopup() const {
    for (const QWidget* w = QApplication::activePopupWidget(); w; w = w->parentWidget())
        if (w == m_panel.get()) return true;
    return false;
}

bool HistoryDrawerController::isEditing() const {
    if (!m_panel->isKey()) return false;
    const auto* field = qobject_cast<const QLineEdit*>(QApplication::focusWidget());
    return field && m_panel->isAncestorOf(field) && !field->isReadOnly() &&
           !field->text().isEmpty();
}

void HistoryDrawerController::updateClose() {
    if (pointerOverPanel()) {
        m_waitingForEntry = false;
        stop(m_close);
        return;
    }
    if (m_waitingForEntry || isEditing() || showsOwnPopup()) {
        stop(m_close);
        return;
    }
    if (isClosing()) return;
    m_close = Clock::shared().schedule(kCloseDelay, false, [this] {
        if (!pointerOverPanel() && !isEditing() && !showsOwnPopup()) close();
    });
}

void HistoryDrawerController::close() {
    if (!m_model->isOpen()) return;
    stop(m_close);
    stop(m_dwell);
    stop(m_tracking);
    if (m_panel->isKey()) {
        if (QWidget* f = QApplication::focusWidget(); f && m_panel->isAncestorOf(f))
            f->clearFocus();
        m_panel->resignKey();
    }
    m_panel->setAllowsKey(false);
    m_panel->setIgnoresMouseEvents(true);
    qApp->removeEventFilter(this);
    m_model->setOpen(false);
    m_model->setExpandedID(std::nullopt);
    refreshWatch();
    m_hide = Clock::shared().schedule(kHideDelay, false, [this] {
        if (!m_model->isOpen()) m_panel->hide();
    });
}

} // namespace nolvea
