#include "app/AppEnvironment.h"

#include "core/AppState.h"
#include "platform/Platform.h"
#include "platform/PointerSource.h"
#include "speech/VoiceController.h"
#include "ui/drawer/HistoryDrawerController.h"
#include "ui/notch/NotchController.h"
#include "ui/overlay/OverlayController.h"
#include "ui/preview/DemoRunner.h"

namespace nolvea {

AppEnvironment& AppEnvironment::shared() {
    // Never released: the controller's audio must not be torn down after the application.
    static auto* environment = new AppEnvironment;
    return *environment;
}

AppState& AppEnvironment::state() const {
    return AppState::shared();
}

VoiceController& AppEnvironment::controller() {
    if (!m_controller) {
        m_controller = std::make_unique<VoiceController>(state());
        m_controller->setGuest({[this] { return m_demo && m_demo->isPlaying(); },
                                [this] {
                                    if (m_demo) m_demo->yield();
                                }});
    }
    return *m_controller;
}

HistoryDrawerController& AppEnvironment::historyDrawer() {
    if (!m_historyDrawer)
        m_historyDrawer = std::make_unique<HistoryDrawerController>(
            HistoryDrawerController::Options{.pointer = Platform::find<PointerSource>()});
    return *m_historyDrawer;
}

DemoRunner& AppEnvironment::demo() {
    if (!m_demo) m_demo = std::make_unique<DemoRunner>(state());
    return *m_demo;
}

void AppEnvironment::setNotchEnabled(bool enabled) {
    m_notchEnabled = enabled;
    if (m_notch) m_notch->setEnabled(enabled);
}

void AppEnvironment::setNotch(std::unique_ptr<NotchController> notch) {
    m_notch = std::move(notch);
    if (m_notch) m_notch->setEnabled(m_notchEnabled);
}

void AppEnvironment::setOverlay(std::unique_ptr<OverlayController> overlay) {
    m_overlay = std::move(overlay);
}

} // namespace nolvea
