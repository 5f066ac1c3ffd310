#pragma once

#include "platform/linux/EwmhFrontWindowReader.h"
#include "platform/linux/QtClipboard.h"
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"

#include <memory>

namespace nolvea::test {

class FrontApp;

// The layers a paste goes through (clipboard, posted keys, front window), installed on the test
// display for the life of the object, with a manual clock for the clipboard's restore.
class PasteDesktop {
public:
    PasteDesktop();
    ~PasteDesktop();
    PasteDesktop(const PasteDesktop&) = delete;
    PasteDesktop& operator=(const PasteDesktop&) = delete;

    // Gives `app` the focus and waits until its window is in front.
    bool bringToFront(FrontApp& app);

    ManualClock clock;
    std::shared_ptr<QtClipboard> clipboard = std::make_shared<QtClipboard>();
    std::shared_ptr<EwmhFrontWindowReader> reader = std::make_shared<EwmhFrontWindowReader>();
};

} // namespace nolvea::test
