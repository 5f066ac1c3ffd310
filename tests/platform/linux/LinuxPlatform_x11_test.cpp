#include "core/AppPaths.h"
#include "platform/AccessibilityReader.h"
#include "platform/AudioInputFactory.h"
#include "platform/AudioPlayerFactory.h"
#include "platform/CalendarAccounts.h"
#include "platform/Clipboard.h"
#include "platform/FilePicker.h"
#include "platform/FileSearch.h"
#include "platform/FrontWindowReader.h"
#include "platform/KeyEventSource.h"
#include "platform/KeyPoster.h"
#include "platform/Launcher.h"
#include "platform/LegacyKeychain.h"
#include "platform/MailTransport.h"
#include "platform/PanelWindowing.h"
#include "platform/PermissionProbe.h"
#include "platform/Platform.h"
#include "platform/PointerSource.h"
#include "platform/ScreenGrabber.h"
#include "platform/SoundLibrary.h"
#include "platform/SpeechEngine.h"
#include "platform/SystemVoice.h"
#include "platform/UserAccount.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/X11PanelWindowing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace nolvea;

namespace {

template <typename... Interfaces> std::vector<std::string> missing() {
    std::vector<std::string> names;
    ((Platform::find<Interfaces>() ? void() : names.push_back(typeid(Interfaces).name())), ...);
    return names;
}

} // namespace

// A layer that exists but is never installed fails only when the program first asks for it.
TEST(LinuxPlatform, installsEveryLayerOfTheDesktop) {
    Platform::reset();
    LinuxPlatform::install(AppPaths::file(QStringLiteral("pocketsphinx")));

    const auto absent =
        missing<KeyEventSource, KeyPoster, Clipboard, FrontWindowReader, AccessibilityReader,
                ScreenGrabber, PermissionProbe, AudioInputFactory, AudioPlayerFactory, SpeechEngine,
                SoundLibrary, SystemVoice, Launcher, FileSearch, UserAccount, MailTransport,
                FilePicker, LegacyKeychain, PanelWindowing, PointerSource>();
    EXPECT_TRUE(absent.empty()) << testing::PrintToString(absent);
    EXPECT_EQ(Platform::find<CalendarAccounts>(), nullptr);

    auto windowing = std::dynamic_pointer_cast<X11PanelWindowing>(Platform::find<PanelWindowing>());
    ASSERT_NE(windowing, nullptr);
    EXPECT_TRUE(windowing->isAvailable());

    Platform::reset();
}
