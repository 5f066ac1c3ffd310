#pragma once

#include <functional>

namespace nolvea {

// Where the tray window's footer leads. An empty one is a place this build does not have
// yet: its button stays disabled and says so.
struct MenuBarActions {
    std::function<void()> openHistory;
    std::function<void()> openSettings;
    std::function<void()> runDemo;
    std::function<void()> quit;
};

} // namespace nolvea
