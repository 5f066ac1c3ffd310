#include "system/ScreenContextReader.h"

#include "platform/AccessibilityReader.h"
#include "platform/FrontWindowReader.h"
#include "platform/Platform.h"

namespace nolvea::ScreenContextReader {

ScreenContext capture() {
    ScreenContext context;
    std::optional<FrontWindow> front;
    if (auto reader = Platform::find<FrontWindowReader>()) front = reader->frontWindow();
    if (front) {
        context.appName = front->appName;
        context.bundleID = front->windowClass;
        context.processID = front->processID;
    }

    auto accessibility = Platform::find<AccessibilityReader>();
    if (!accessibility || !accessibility->isEnabled()) return context;

    if (auto focused = accessibility->focusedText(context.processID, accessibilityBudget)) {
        context.selectedText = focused->selectedText;
        if (focused->value && focused->selectionStart)
            context.textBeforeCursor =
                ScreenContext::textBefore(*focused->value, *focused->selectionStart);
    }
    if (front && context.processID != 0) context.windowTitle = front->title;
    return context;
}

} // namespace nolvea::ScreenContextReader
