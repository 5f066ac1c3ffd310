// The launch sequence in this process, under the test display: it runs to the end, follows
// every change of the overlay style on a later turn of the loop, and marks the login item as
// moved.
#include "app/AppDelegate.h"
#include "app/AppEnvironment.h"
#include "core/AppPaths.h"
#include "core/AppSettings.h"
#include "core/UserDefaults.h"
#include "input/HotkeyMonitor.h"
#include "platform/linux/LinuxPlatform.h"
#include "speech/VoiceController.h"
#include "ui/windows/WindowManager.h"

#include <QComboBox>
#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(Launch, FollowsEveryOverlayStyleChangeOnALaterTurn) {
    LinuxPlatform::install(AppPaths::file(QStringLiteral("pocketsphinx")));
    AppSettings& settings = AppSettings::shared();
    settings.setHasCompletedOnboarding(true);
    settings.setSpeakAnswers(false);
    settings.setOverlayStyle(OverlayStyle::notch);
    AppEnvironment& environment = AppEnvironment::shared();

    AppDelegate delegate({"nolvea"});
    delegate.applicationDidFinishLaunching();
    EXPECT_TRUE(environment.notchEnabled());
    EXPECT_TRUE(UserDefaults::standard().boolValue("loginItemMigratedToNolvea"));
    EXPECT_EQ(WindowManager::shared().window(WindowManager::Kind::onboarding), nullptr)
        << "onboarding done and not asked for";

    for (OverlayStyle style : {OverlayStyle::pill, OverlayStyle::notch, OverlayStyle::pill}) {
        const bool before = environment.notchEnabled();
        settings.setOverlayStyle(style);
        EXPECT_EQ(environment.notchEnabled(), before) << "not inside the setter";
        QCoreApplication::processEvents();
        EXPECT_EQ(environment.notchEnabled(), style == OverlayStyle::notch);
    }
    delegate.applicationWillTerminate();
}

TEST(Launch, AsksForOnboardingOnlyOnTheExactArgument) {
    EXPECT_TRUE(AppDelegate::asksForOnboarding({"nolvea", "--onboarding"}));
    EXPECT_FALSE(AppDelegate::asksForOnboarding({"nolvea"}));
    EXPECT_FALSE(AppDelegate::asksForOnboarding({"nolvea", "--onboarding=1", "-onboarding"}));
}

} // namespace

namespace {

TEST(Launch, TheKeyChosenInTheSettingsWindowReachesTheRunningMonitor) {
    LinuxPlatform::install(AppPaths::file(QStringLiteral("pocketsphinx")));
    AppSettings& settings = AppSettings::shared();
    settings.setHasCompletedOnboarding(true);
    settings.setSpeakAnswers(false);
    settings.setHotkey(HotkeyChoice::fn);
    AppDelegate delegate({"nolvea"});
    delegate.applicationDidFinishLaunching();
    HotkeyMonitor& monitor = AppEnvironment::shared().controller().hotkeys();
    EXPECT_EQ(monitor.trigger(), HotkeyChoice::fn);

    WindowManager::shared().show(WindowManager::Kind::settings);
    QWidget* window = WindowManager::shared().window(WindowManager::Kind::settings);
    ASSERT_NE(window, nullptr);
    QComboBox* key = nullptr;
    for (auto* box : window->findChildren<QComboBox*>())
        if (box->accessibleName() == "Tecla para falar") key = box;
    ASSERT_NE(key, nullptr);
    key->activated(2);
    EXPECT_EQ(settings.hotkey(), HotkeyChoice::rightCommand);
    EXPECT_EQ(monitor.trigger(), HotkeyChoice::rightCommand);
    window->close();
    delegate.applicationWillTerminate();
}

} // namespace
