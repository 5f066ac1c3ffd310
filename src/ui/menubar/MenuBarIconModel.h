#pragma once

#include "core/AppState.h"
#include "core/VoiceMode.h"

#include <QString>

namespace nolvea {

// What the tray icon shows for a stage: the still brand mark, or a symbol that pulses while
// the assistant listens or works.
struct MenuBarLabel {
    bool brandMark = true;
    QString symbol;            // with `brandMark` false
    bool effectActive = false; // the pulse runs

    friend bool operator==(const MenuBarLabel&, const MenuBarLabel&) = default;
};

class MenuBarIconModel {
public:
    static MenuBarLabel label(AppState::Stage stage, VoiceMode mode);
    // The symbol of a stage that shows one; empty for idle and success.
    static QString symbol(AppState::Stage stage, VoiceMode mode);

    MenuBarIconModel() = delete;
};

} // namespace nolvea
