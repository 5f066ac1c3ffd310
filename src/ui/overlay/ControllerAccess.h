#pragma once

#include <functional>

namespace nolvea {

class VoiceController;

// How the overlay's cards reach the voice controller: looked up when a button acts, so
// making the overlay does not make the controller.
using ControllerAccess = std::function<VoiceController&()>;

} // namespace nolvea
