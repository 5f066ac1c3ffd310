#pragma once

#include "ui/overlay/ControllerAccess.h"

#include <QObject>

#include <functional>
#include <memory>

namespace nolvea {

class AppState;
class ClockTimer;
class OverlayPanel;
class PillView;

// Owns the bottom pill: shows it under the pointer while the voice interaction runs, lets
// clicks reach it while a card shows, gives it the keyboard only while a confirmation asks
// (handing it back afterwards) and hides it 0.6 s after the stage returns to idle.
class OverlayController : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kHideDelay{600};

    OverlayController(AppState& state, ControllerAccess controller, QObject* parent = nullptr);
    ~OverlayController() override;

    OverlayPanel& panel() const { return *m_panel; }
    PillView& view() const { return *m_view; }

    // Whether the pill is the overlay in use; read at every stage change. By default the
    // overlay style setting decides.
    void setShowsPill(std::function<bool()> showsPill);

Q_SIGNALS:
    // The pill has been shown, hidden or scheduled to hide for the stage now current (stage
    // changes are applied together, one turn of the event loop later).
    void stageApplied();

private:
    void observe();
    void stageChanged();
    void applyStage();
    void positionOnActiveScreen();
    void takeKeyboard(int attempt);

    AppState& m_state;
    PillView* m_view; // owned by the panel
    std::unique_ptr<OverlayPanel> m_panel;
    std::unique_ptr<ClockTimer> m_hideTask;
    std::function<bool()> m_showsPill;
    bool m_evaluationPending = false;
};

} // namespace nolvea
