#include "app/AppDelegate.h"

#include "app/AppEnvironment.h"
#include "core/AIStatus.h"
#include "core/AppSettings.h"
#include "core/Permissions.h"
#include "input/FnKeyGuard.h"
#include "input/HotkeyMonitor.h"
#include "mcp/MCPManager.h"
#include "speech/TTSServer.h"
#include "speech/VoiceController.h"
#include "updates/Updater.h"

namespace nolvea {

AppDelegate::AppDelegate(QObject* parent)
    : QObject(parent) {}

void AppDelegate::applicationDidFinishLaunching() {
    AppEnvironment& environment = AppEnvironment::shared();
    VoiceController& controller = environment.controller();
    controller.hotkeys().setTrigger(controller.settings().hotkey());
    controller.hotkeys().start();
    FnKeyGuard::silence();
    Permissions::shared().refresh();
    MCPManager::shared().reload();
    const AppSettings& settings = AppSettings::shared();
    if (settings.speakAnswers() && settings.voiceEngine() == VoiceEngine::neural)
        TTSServer::shared().warm(settings.neuralVoice());
    AIStatus::shared().startMonitoring();
    Updater::shared().startAutomaticChecks();
}

void AppDelegate::applicationWillTerminate() {
    MCPManager::shared().stopAll();
    TTSServer::shared().stop();
}

} // namespace nolvea
