#include "app/Entry.h"

#include "ai/AIStatus.h"
#include "app/AppDelegate.h"
#include "app/AppEnvironment.h"
#include "app/Console.h"
#include "app/DevFlags.h"
#include "app/DevPlatform.h"
#include "app/DisplaySession.h"
#include "app/QuitSignals.h"
#include "app/SelfTest.h"
#include "app/SingleInstance.h"
#include "core/AIProvider.h"
#include "core/AppPaths.h"
#include "core/AppSettings.h"
#include "core/HistoryStore.h"
#include "core/Permissions.h"
#include "core/SecretStore.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Detached.h"
#include "ui/components/BrandFont.h"
#include "ui/drawer/HistoryDrawerController.h"
#include "ui/menubar/MenuBarExtra.h"
#include "ui/preview/DemoRunner.h"
#include "ui/windows/WindowManager.h"
#include "updates/Updater.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <memory>

namespace nolvea {

namespace {

QStringList arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Runs the developer mode on the application's event loop, so timers and network replies
// keep working while it waits; the exit status tells scripts how it went.
int runDeveloperMode(QCoreApplication& app, DevCommand command, QStringList args) {
    std::optional<QCoro::Task<>> task;
    QTimer::singleShot(0, &app, [&] {
        task.emplace([](DevCommand command, QStringList args) -> QCoro::Task<> {
            const bool passed = co_await SelfTest::run(std::move(command), std::move(args));
            QCoreApplication::exit(passed ? 0 : Entry::failedStatus);
        }(std::move(command), std::move(args)));
    });
    return app.exec();
}

// Keys an older version kept in the keyring move into the secret store. The keyring is asked
// in the background; a key it gives for the chosen provider reaches the settings.
QCoro::Task<> moveLegacyKeys() {
    QStringList keys;
    for (const AIProvider provider : AIProvider::allCases())
        if (!provider.isLocal()) keys << AppSettings::apiKeyKey(provider);
    co_await SecretStore::shared().migrateLegacy(std::move(keys));
    AppSettings& settings = AppSettings::shared();
    if (settings.aiProvider().isLocal()) co_return;
    const QString key = SecretStore::shared().read(AppSettings::apiKeyKey(settings.aiProvider()));
    if (key != settings.apiKey()) settings.setApiKey(key);
}

// The application: the tray icon and its window, the hotkey and the overlays.
int runApplication(int argc, char** argv, const QStringList& args) {
    // Without a display Qt would abort the process: say what is missing instead.
    const DisplaySession::Verdict session = DisplaySession::judge(DisplaySession::current());
    if (!session.message.isEmpty()) Console::error(session.message);
    if (!session.canStart) return Entry::failedStatus;
    if (!session.platform.isEmpty()) qputenv("QT_QPA_PLATFORM", session.platform);

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    BrandFont::registerFonts();

    SingleInstance instance;
    switch (instance.claim(args.mid(1))) {
    case SingleInstance::Role::primary:
        break;
    case SingleInstance::Role::forwarded:
        return 0;
    case SingleInstance::Role::noAnswer:
        Console::error(SingleInstance::noAnswerMessage());
        return Entry::failedStatus;
    }

    LinuxPlatform::install(AppPaths::file(QStringLiteral("pocketsphinx")));
    QuitSignals::install(app);
    AppDelegate delegate(args);
    MenuBarActions actions;
    actions.openHistory = [] { AppEnvironment::shared().historyDrawer().open(); };
    actions.openSettings = [] { WindowManager::shared().show(WindowManager::Kind::settings); };
    actions.runDemo = [] { AppEnvironment::shared().demo().run(); };
    WindowManager::shared().setRunDemo(actions.runDemo);
    actions.quit = [] { QCoreApplication::quit(); };
    MenuBarExtra menuBar({AppEnvironment::shared().state(), AppSettings::shared(),
                          Permissions::shared(), AIStatus::shared(), HistoryStore::shared(),
                          Updater::shared()},
                         std::move(actions));
    QObject::connect(&instance, &SingleInstance::activated, &menuBar,
                     [&menuBar](const QStringList& arguments) {
                         menuBar.showWindow();
                         if (AppDelegate::asksForOnboarding(arguments))
                             WindowManager::shared().show(WindowManager::Kind::onboarding);
                     });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });
    QTimer::singleShot(0, &delegate, [&delegate] {
        delegate.applicationDidFinishLaunching();
        detach(moveLegacyKeys(), QStringLiteral("Chaves do chaveiro antigo"));
    });
    return app.exec();
}

} // namespace

int Entry::main(int argc, char** argv) {
    // A child that closes its input early must not end us.
    std::signal(SIGPIPE, SIG_IGN);
    const QStringList args = arguments(argc, argv);
    if (DevFlags::selectsDeveloperMode(args)) {
        const std::optional<DevCommand> command = DevFlags::scan(args);
        if (!command) {
            Console::error(QString::fromUtf8("Nenhum modo de desenvolvedor reconhecido nos "
                                             "argumentos."));
            return noModeStatus;
        }
        DevPlatform::install(command->kind);
        if (command->needsGui()) {
            // Drawing needs no screen: use the offscreen platform when none was chosen.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            // The previews draw the real widgets.
            QApplication app(argc, argv);
            BrandFont::registerFonts();
            return runDeveloperMode(app, *command, args);
        }
        QCoreApplication app(argc, argv);
        return runDeveloperMode(app, *command, args);
    }
    return runApplication(argc, argv, args);
}

} // namespace nolvea
