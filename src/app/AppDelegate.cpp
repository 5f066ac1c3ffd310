#include "app/AppDelegate.h"

#include "agent/AgentWarmup.h"
#include "ai/AIStatus.h"
#include "app/AppEnvironment.h"
#include "core/AppSettings.h"
#include "core/Permissions.h"
#include "core/UserDefaults.h"
#include "input/FnKeyGuard.h"
#include "input/HotkeyMonitor.h"
#include "mcp/MCPClient.h"
#include "mcp/MCPManager.h"
#include "speech/TTSServer.h"
#include "speech/VoiceController.h"
#include "system/LoginItem.h"
#include "ui/drawer/HistoryDrawerController.h"
#include "ui/notch/NotchController.h"
#include "ui/overlay/OverlayController.h"
#include "ui/overlay/OverlayPanel.h"
#include "ui/windows/WindowManager.h"
#include "updates/Updater.h"

#include <QTimer>

namespace nolvea {

namespace {

const QString kLoginItemMigrated = QStringLiteral("loginItemMigratedToNolvea");

} // namespace

AppDelegate::AppDelegate(QStringList arguments, QObject* parent)
    : QObject(parent)
    , m_arguments(std::move(arguments)) {}

bool AppDelegate::asksForOnboarding(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--onboarding"));
}

void AppDelegate::applicationDidFinishLaunching() {
    AgentWarmup::install();
    AppEnvironment& environment = AppEnvironment::shared();
    const ControllerAccess access = []() -> VoiceController& {
        return AppEnvironment::shared().controller();
    };
    environment.setOverlay(std::make_unique<OverlayController>(environment.state(), access));
    environment.setNotch(std::make_unique<NotchController>(environment.state(), access));
    environment.notch()->setOpenHistory([] { AppEnvironment::shared().historyDrawer().open(); });
    applyOverlayStyle();

    VoiceController& controller = environment.controller();
    controller.setNotchEngaged([] {
        const NotchController* notch = AppEnvironment::shared().notch();
        return notch && notch->isEngaged();
    });
    controller.hotkeys().setTrigger(controller.settings().hotkey());
    // A key chosen in the settings takes effect at once.
    QObject::connect(&controller.settings(), &AppSettings::hotkeyChanged, this, [&controller] {
        controller.hotkeys().setTrigger(controller.settings().hotkey());
    });
    controller.hotkeys().start();
    WindowManager::shared().setOnboardingHost(
        {[] { return &AppEnvironment::shared().controller().hotkeys(); },
         [](bool suspended) { AppEnvironment::shared().controller().setSuspended(suspended); }});
    FnKeyGuard::silence();
    Permissions::shared().refresh();
    MCPManager::shared().reload();
    const AppSettings& settings = AppSettings::shared();
    if (settings.speakAnswers() && settings.voiceEngine() == VoiceEngine::neural)
        TTSServer::shared().warm(settings.neuralVoice());
    AIStatus::shared().startMonitoring();
    Updater::shared().startAutomaticChecks();
    migrateLoginItem();
    // The left-edge watch runs from launch on.
    environment.historyDrawer();
    if (!settings.hasCompletedOnboarding() || asksForOnboarding(m_arguments))
        WindowManager::shared().show(WindowManager::Kind::onboarding);
}

void AppDelegate::applicationWillTerminate() {
    MCPManager& manager = MCPManager::shared();
    for (const MCPManager::Server& server : manager.servers())
        if (const auto client = manager.client(server.name)) client->stop();
    manager.stopAll();
    TTSServer::shared().stop();
}

void AppDelegate::applyOverlayStyle() {
    AppSettings& settings = AppSettings::shared();
    connect(
        &settings, &AppSettings::overlayStyleChanged, this,
        [this] { QTimer::singleShot(0, this, &AppDelegate::applyOverlayStyle); },
        Qt::SingleShotConnection);
    const bool notch = settings.overlayStyle() == OverlayStyle::notch;
    AppEnvironment::shared().setNotchEnabled(notch);
    // The pill reads the style at its next stage change; one on screen now goes at once.
    if (notch && AppEnvironment::shared().overlay())
        AppEnvironment::shared().overlay()->panel().hide();
}

void AppDelegate::migrateLoginItem() {
    UserDefaults& defaults = UserDefaults::standard();
    if (defaults.boolValue(kLoginItemMigrated)) return;
    // Set first: a failure below is never tried again.
    defaults.set(kLoginItemMigrated, true);
    const LoginItem item = LoginItem::current();
    // Written over in one step, so a failed write keeps the entry the person had.
    if (item.status() == LoginItem::Status::enabled) item.registerItem();
}

} // namespace nolvea
