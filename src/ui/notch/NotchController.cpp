#include "ui/notch/NotchController.h"

#include "core/AppState.h"
#include "platform/Platform.h"
#include "speech/VoiceController.h"
#include "ui/notch/NotchView.h"
#include "ui/overlay/OverlayPanel.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

namespace nolvea {

using Stage = AppState::Stage;

NotchController::NotchController(AppState& state, ControllerAccess controller, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_controller(std::move(controller))
    , m_view(new NotchView(state, *this))
    , m_panel(std::make_unique<OverlayPanel>(NotchGeometry::kPanelSize, m_view))
    , m_hover({.editing = [this] { return isEditing(); },
               .pointerInside = [this] { return hoverZone().contains(pointer()); },
               .changed = [this](bool hovering) { hoverChanged(hovering); },
               .track = [this] { pointerStep(); }})
    , m_pointer(Platform::find<PointerSource>()) {
    // Not "Nolvea": that names the tray's window.
    m_panel->setAccessibleName(QStringLiteral("Ilha do Nolvea"));
    m_panel->setWindowTitle(QStringLiteral("Ilha do Nolvea"));
    // Clicks reach the island only inside its outline as drawn now, also while it moves.
    connect(m_view, &NotchView::islandChanged, this, [this] {
        if (QRegion region = m_view->islandRegion(); region != m_panel->drawnRegion())
            m_panel->setDrawnRegion(std::move(region));
    });
    m_panel->setDrawnRegion(m_view->islandRegion());

    auto screensChanged = [this] { remeasure(); };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, screensChanged);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, screensChanged);
    for (QScreen* s : QGuiApplication::screens())
        connect(s, &QScreen::geometryChanged, this, screensChanged);

    // Several changes in one turn of the event loop lead to one evaluation of the last stage.
    connect(&m_state, &AppState::stageChanged, this, [this] {
        if (m_stagePending) return;
        m_stagePending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_stagePending = false;
                stageChanged();
            },
            Qt::QueuedConnection);
    });
}

NotchController::~NotchController() = default;

void NotchController::remeasure() {
    m_model.setGeometry(NotchGeometry::current());
    m_panel->setGeometry(m_model.geometry().panelFrame());
}

void NotchController::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (enabled) {
        remeasure();
        m_panel->show();
        m_panel->raise();
        if (m_pointer)
            m_watch = m_pointer->watch([this](const PointerSource::Event& e) { pointerEvent(e); });
        stageChanged();
        return;
    }
    m_watch.reset();
    m_hover.reset();
    m_model.setHovering(false);
    m_model.setExpandedEntryID(std::nullopt);
    m_panel->setAllowsKey(false);
    m_panel->setIgnoresMouseEvents(true);
    m_panel->hide();
}

QPoint NotchController::pointer() const {
    return m_pointer ? m_pointer->position() : QCursor::pos();
}

QRect NotchController::islandRect() const {
    return m_model.geometry().islandRect(m_model.islandSize());
}

QRect NotchController::hoverZone() const {
    return m_model.geometry().hoverZone(m_model.islandSize());
}

bool NotchController::isEditing() const {
    if (!m_panel->isKey()) return false;
    QWidget* focus = m_panel->focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus)) return !line->text().isEmpty();
    if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) return !text->toPlainText().isEmpty();
    if (auto* text = qobject_cast<QTextEdit*>(focus)) return !text->toPlainText().isEmpty();
    return false;
}

bool NotchController::isEngaged() const {
    return m_enabled && (islandRect().contains(pointer()) || isEditing());
}

void NotchController::setOpenHistory(std::function<void()> open) {
    m_openHistory = std::move(open);
    m_view->refresh();
}

void NotchController::pointerEvent(const PointerSource::Event& event) {
    if (!m_enabled) return;
    if (event.kind == PointerSource::Event::Kind::pressed) {
        // A click in another application takes the keyboard back, but not from a confirmation.
        const bool onIsland = islandRect().contains(event.position);
        if (!onIsland && m_state.stage() != Stage::confirming && m_panel->isKey()) {
            if (QWidget* focus = m_panel->focusWidget()) focus->clearFocus();
            resignKeyboard();
        }
    }
    pointerStep();
}

void NotchController::pointerStep() {
    if (!m_enabled) return;
    const bool inside = hoverZone().contains(pointer());
    if (inside) {
        if (m_state.stage() == Stage::listening) m_controller().returnToAnswerFromFollowUp();
        m_panel->setIgnoresMouseEvents(false);
    } else {
        m_panel->setIgnoresMouseEvents(!isEditing());
    }
    m_hover.step(inside);
}

void NotchController::hoverChanged(bool hovering) {
    m_model.setHovering(hovering);
    if (!hovering) {
        m_model.setExpandedEntryID(std::nullopt);
        const Stage stage = m_state.stage();
        if (stage != Stage::confirming && stage != Stage::answer) {
            m_panel->setAllowsKey(false);
            resignKeyboard();
        }
        return;
    }
    m_state.setHasUnseenResult(false);
    m_panel->setAllowsKey(true);
}

void NotchController::closeHover() {
    const bool inside = hoverZone().contains(pointer());
    m_hover.close(inside);
    m_model.setHovering(false);
    m_model.setExpandedEntryID(std::nullopt);
    resignKeyboard();
}

std::optional<TypedRequestError> NotchController::submitTyped() {
    if (auto error = m_controller().submitTyped(m_model.typedText())) return error;
    m_model.setTypedText(QString());
    m_hover.collapse();
    m_model.setHovering(false);
    m_model.setExpandedEntryID(std::nullopt);
    resignKeyboard();
    return std::nullopt;
}

std::optional<TypedRequestError> NotchController::submitReply() {
    if (auto error = m_controller().submitTyped(m_model.replyText())) return error;
    m_model.setReplyText(QString());
    resignKeyboard();
    return std::nullopt;
}

void NotchController::resignKeyboard() {
    if (m_panel->isKey()) m_panel->resignKey();
}

void NotchController::stageChanged() {
    if (!m_enabled) return;
    switch (m_state.stage()) {
    case Stage::confirming:
        m_panel->setIgnoresMouseEvents(false);
        m_panel->setAllowsKey(true);
        m_panel->raise();
        takeKeyboard(0);
        break;
    case Stage::answer:
        m_panel->setIgnoresMouseEvents(false);
        m_panel->setAllowsKey(true);
        break;
    default:
        if (!m_model.isHovering()) {
            m_panel->setAllowsKey(false);
            resignKeyboard();
        }
        break;
    }
}

void NotchController::takeKeyboard(int attempt) {
    if (!m_enabled || m_state.stage() != Stage::confirming || !m_panel->allowsKey()) return;
    m_view->focusCard();
    if (m_panel->makeKey()) return;
    // A card just laid out may not be mapped yet: try again once the window system has it.
    if (attempt < 50) QTimer::singleShot(20, this, [this, attempt] { takeKeyboard(attempt + 1); });
}

} // namespace nolvea
