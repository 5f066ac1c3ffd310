#pragma once

#include <memory>

namespace nolvea {

class AppState;
class VoiceController;

// The application's container: the one live state and the voice controller over it, made on
// first use and kept until the process ends. Main thread.
class AppEnvironment {
public:
    static AppEnvironment& shared();

    AppState& state() const;
    // Made on first use: from then on it hears the hotkey once its monitor is started.
    VoiceController& controller();

private:
    AppEnvironment() = default;

    std::unique_ptr<VoiceController> m_controller;
};

} // namespace nolvea
