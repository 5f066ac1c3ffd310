#include "platform/linux/LinuxDesktop.h"

#include "platform/Platform.h"
#include "platform/linux/EwmhFrontWindowReader.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/XInputKeySource.h"
#include "platform/linux/XTestKeyPoster.h"

namespace nolvea::LinuxDesktop {

void install() {
    Platform::install<KeyEventSource>(std::make_shared<XInputKeySource>());
    Platform::install<KeyPoster>(std::make_shared<XTestKeyPoster>());
    Platform::install<Clipboard>(std::make_shared<QtClipboard>());
    Platform::install<FrontWindowReader>(std::make_shared<EwmhFrontWindowReader>());
}

} // namespace nolvea::LinuxDesktop
