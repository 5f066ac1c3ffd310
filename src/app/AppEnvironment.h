#pragma once

#include <memory>

namespace nolvea {

class AppState;
class DemoRunner;
class HistoryDrawerController;
class NotchController;
class OverlayController;
class VoiceController;

// The application's container: the one live state and the controllers over it, each made on
// first use and kept until the process ends. Main thread.
class AppEnvironment {
public:
    static AppEnvironment& shared();

    AppState& state() const;
    // Made on first use: from then on it hears the hotkey once its monitor is started.
    VoiceController& controller();
    // The history drawer, made on first use over the desktop's pointer.
    HistoryDrawerController& historyDrawer();
    // The scripted demo over the live state, made on first use; a real interaction stops it.
    DemoRunner& demo();
    // The pill overlay, made at launch; null before.
    OverlayController* overlay() const { return m_overlay.get(); }
    void setOverlay(std::unique_ptr<OverlayController> overlay);

    // Whether the notch island should be on (the overlay style is notch).
    bool notchEnabled() const { return m_notchEnabled; }
    void setNotchEnabled(bool enabled);
    // The notch island, made at launch; null before.
    NotchController* notch() const { return m_notch.get(); }
    void setNotch(std::unique_ptr<NotchController> notch);

private:
    AppEnvironment() = default;

    std::unique_ptr<VoiceController> m_controller;
    std::unique_ptr<HistoryDrawerController> m_historyDrawer;
    std::unique_ptr<DemoRunner> m_demo;
    bool m_notchEnabled = false;
    std::unique_ptr<OverlayController> m_overlay;
    std::unique_ptr<NotchController> m_notch;
};

} // namespace nolvea
