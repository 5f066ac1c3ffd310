#include "platform/linux/LinuxDesktop.h"

#include "platform/Platform.h"
#include "platform/linux/AtspiAccessibilityReader.h"
#include "platform/linux/EwmhFrontWindowReader.h"
#include "platform/linux/LinuxPermissionProbe.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/X11ScreenGrabber.h"
#include "platform/linux/XInputKeySource.h"
#include "platform/linux/XTestKeyPoster.h"

namespace nolvea::LinuxDesktop {

void install() {
    Platform::install<KeyEventSource>(std::make_shared<XInputKeySource>());
    Platform::install<KeyPoster>(std::make_shared<XTestKeyPoster>());
    Platform::install<Clipboard>(std::make_shared<QtClipboard>());
    Platform::install<FrontWindowReader>(std::make_shared<EwmhFrontWindowReader>());
    Platform::install<AccessibilityReader>(std::make_shared<AtspiAccessibilityReader>());
    Platform::install<ScreenGrabber>(std::make_shared<X11ScreenGrabber>());
    Platform::install<PermissionProbe>(std::make_shared<LinuxPermissionProbe>());
}

} // namespace nolvea::LinuxDesktop
