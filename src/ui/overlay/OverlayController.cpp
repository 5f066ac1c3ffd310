#include "ui/overlay/OverlayController.h"

#include "core/AppSettings.h"
#include "core/AppState.h"
#include "support/Clock.h"
#include "ui/overlay/OverlayPanel.h"
#include "ui/overlay/PillPlacement.h"
#include "ui/overlay/PillStagePolicy.h"
#include "ui/overlay/PillView.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace nolvea {

OverlayController::OverlayController(AppState& state, ControllerAccess controller, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_view(new PillView(state, controller))
    , m_panel(std::make_unique<OverlayPanel>(PillPlacement::kPanelSize, m_view))
    , m_showsPill([] { return AppSettings::shared().overlayStyle() == OverlayStyle::pill; }) {
    m_panel->setAccessibleName(QStringLiteral("Nolvea"));
    m_panel->setWindowTitle(QStringLiteral("Nolvea"));
    connect(m_view, &PillView::drawnRegionChanged, this,
            [this] { m_panel->setDrawnRegion(m_view->drawnRegion()); });
    m_panel->setDrawnRegion(m_view->drawnRegion());
    observe();
}

OverlayController::~OverlayController() = default;

void OverlayController::setShowsPill(std::function<bool()> showsPill) {
    m_showsPill = std::move(showsPill);
}

void OverlayController::observe() {
    // Several changes in one turn of the event loop lead to one evaluation of the last stage.
    connect(&m_state, &AppState::stageChanged, this, [this] {
        if (m_evaluationPending) return;
        m_evaluationPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_evaluationPending = false;
                stageChanged();
            },
            Qt::QueuedConnection);
    });
}

void OverlayController::stageChanged() {
    applyStage();
    Q_EMIT stageApplied();
}

void OverlayController::applyStage() {
    if (!m_showsPill()) {
        m_panel->hide();
        return;
    }
    const AppState::Stage stage = m_state.stage();
    const PillStagePolicy policy = PillStagePolicy::of(stage);
    m_panel->setIgnoresMouseEvents(!policy.acceptsMouse);
    m_panel->setAllowsKey(policy.allowsKey);
    if (!policy.allowsKey && m_panel->isKey()) m_panel->resignKey();

    if (policy.shows) {
        m_hideTask.reset();
        if (!m_panel->isVisible()) {
            positionOnActiveScreen();
            m_panel->show();
        }
        m_panel->raise();
    } else {
        m_hideTask = Clock::shared().schedule(kHideDelay, false, [this] {
            if (m_state.stage() == AppState::Stage::idle) m_panel->hide();
        });
    }
    if (policy.makesKey) takeKeyboard(0);
}

void OverlayController::takeKeyboard(int attempt) {
    if (m_state.stage() != AppState::Stage::confirming || !m_panel->allowsKey()) return;
    m_view->focusCard();
    if (m_panel->makeKey()) return;
    // A panel just shown is not mapped yet: try again once the window system has it.
    if (attempt < 50) QTimer::singleShot(20, this, [this, attempt] { takeKeyboard(attempt + 1); });
}

void OverlayController::positionOnActiveScreen() {
    QList<ScreenArea> screens;
    for (QScreen* s : QGuiApplication::screens())
        screens.append({s->geometry(), s->availableGeometry()});
    std::optional<ScreenArea> fallback;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        fallback = ScreenArea{primary->geometry(), primary->availableGeometry()};
    if (const auto frame = PillPlacement::panelFrame(QCursor::pos(), screens, fallback))
        m_panel->setGeometry(*frame);
}

} // namespace nolvea
