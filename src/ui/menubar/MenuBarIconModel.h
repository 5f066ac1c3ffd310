#pragma once

#include "core/AppState.h"
#include "core/VoiceMode.h"

#include <QString>

#include <vector>

namespace nolvea {

// What the tray icon shows for a stage: the still brand mark, or a symbol whose layers light
// up one after another while the assistant listens or works.
struct MenuBarLabel {
    bool brandMark = true;
    QString symbol;            // with `brandMark` false
    bool effectActive = false; // the layers light in turn

    friend bool operator==(const MenuBarLabel&, const MenuBarLabel&) = default;
};

class MenuBarIconModel {
public:
    static MenuBarLabel label(AppState::Stage stage, VoiceMode mode);
    // The symbol of a stage that shows one; empty for idle and success.
    static QString symbol(AppState::Stage stage, VoiceMode mode);

    // Opacity of each of `layers` layers at `step` of the running effect: one layer lit at a
    // time, in order, the others dimmed.
    static std::vector<double> layerOpacities(int layers, int step);
    static constexpr double kDimmedLayer = 0.3;

    MenuBarIconModel() = delete;
};

} // namespace nolvea
