#include "support/PasteDesktop.h"

#include "platform/Clipboard.h"
#include "platform/FrontWindowReader.h"
#include "platform/KeyPoster.h"
#include "platform/Platform.h"
#include "platform/linux/XTestKeyPoster.h"
#include "support/Async.h"
#include "support/FrontApp.h"
#include "support/X11Keys.h"

namespace nolvea::test {

PasteDesktop::PasteDesktop() {
    Clock::install(&clock);
    Platform::install<Clipboard>(clipboard);
    Platform::install<KeyPoster>(std::make_shared<XTestKeyPoster>());
    Platform::install<FrontWindowReader>(reader);
}

PasteDesktop::~PasteDesktop() {
    Platform::uninstall<Clipboard>();
    Platform::uninstall<KeyPoster>();
    Platform::uninstall<FrontWindowReader>();
    Clock::install(nullptr);
    X11Keys::releaseAll();
}

bool PasteDesktop::bringToFront(FrontApp& app) {
    app.focus();
    return spinUntil([&] {
        const auto front = reader->frontWindow();
        return front && front->processID == app.pid();
    });
}

} // namespace nolvea::test
