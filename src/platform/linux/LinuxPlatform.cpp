#include "platform/linux/LinuxPlatform.h"

#include "platform/Platform.h"
#include "platform/linux/DialogFilePicker.h"
#include "platform/linux/HomeFileSearch.h"
#include "platform/linux/KeyringLegacyKeychain.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxVoice.h"
#include "platform/linux/PasswdUserAccount.h"
#include "platform/linux/SendmailTransport.h"
#include "platform/linux/X11PanelWindowing.h"
#include "platform/linux/X11PointerSource.h"
#include "platform/linux/XdgLauncher.h"

namespace nolvea::LinuxPlatform {

void install(const QString& speechModels) {
    LinuxDesktop::install();
    LinuxVoice::install(speechModels);
    Platform::install<Launcher>(std::make_shared<XdgLauncher>());
    Platform::install<FileSearch>(std::make_shared<HomeFileSearch>());
    Platform::install<UserAccount>(std::make_shared<PasswdUserAccount>());
    Platform::install<MailTransport>(std::make_shared<SendmailTransport>());
    Platform::install<FilePicker>(std::make_shared<DialogFilePicker>());
    Platform::install<LegacyKeychain>(std::make_shared<KeyringLegacyKeychain>());
    Platform::install<PanelWindowing>(std::make_shared<X11PanelWindowing>());
    Platform::install<PointerSource>(std::make_shared<X11PointerSource>());
    // No calendar store on this desktop: CalendarAccounts stays uninstalled on purpose.
}

} // namespace nolvea::LinuxPlatform
