#pragma once

#include "speech/TypedRequestError.h"
#include "ui/notch/NotchHover.h"
#include "ui/notch/NotchModel.h"
#include "ui/overlay/ControllerAccess.h"

#include "platform/PointerSource.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

namespace nolvea {

class AppState;
class NotchView;
class OverlayPanel;

// Owns the notch island's panel at the top centre of the screen: follows the voice stage,
// opens the hover panel when the pointer rests on the island (the pointer is read from the
// desktop-wide pointer source), lets clicks through everywhere but the island, and takes or
// gives back the keyboard by stage.
class NotchController : public QObject {
    Q_OBJECT

public:
    NotchController(AppState& state, ControllerAccess controller, QObject* parent = nullptr);
    ~NotchController() override;

    NotchModel& model() { return m_model; }
    OverlayPanel& panel() const { return *m_panel; }
    NotchView& view() const { return *m_view; }
    NotchHover& hover() { return m_hover; }
    VoiceController& voiceController() const { return m_controller(); }

    bool isEnabled() const { return m_enabled; }
    // Switching off also ends hover and tracking at once: nothing acts on a hidden island.
    void setEnabled(bool enabled);

    // Sends the hover panel's text (or the answer card's reply) as a typed request. The field
    // is emptied and the panel closed only when the voice controller took it; else the text
    // stays and the reason is returned.
    std::optional<TypedRequestError> submitTyped();
    std::optional<TypedRequestError> submitReply();
    void closeHover();

    QRect islandRect() const;
    QRect hoverZone() const;
    bool isEditing() const;
    // Whether the person points at or types in the island.
    bool isEngaged() const;

    // How the hover panel's history button opens the history drawer; none hides the button.
    void setOpenHistory(std::function<void()> open);
    const std::function<void()>& openHistory() const { return m_openHistory; }

    // The pointer step: run for every move, for presses and every tracking tick.
    void pointerStep();

private:
    void remeasure();
    void stageChanged();
    void hoverChanged(bool hovering);
    void pointerEvent(const PointerSource::Event& event);
    void takeKeyboard(int attempt);
    void resignKeyboard();
    QPoint pointer() const;

    AppState& m_state;
    ControllerAccess m_controller;
    NotchModel m_model;
    NotchView* m_view; // owned by the panel
    std::unique_ptr<OverlayPanel> m_panel;
    NotchHover m_hover;
    std::shared_ptr<PointerSource> m_pointer;
    std::unique_ptr<PointerSource::Watch> m_watch;
    std::function<void()> m_openHistory;
    bool m_enabled = false;
    bool m_stagePending = false;
};

} // namespace nolvea
