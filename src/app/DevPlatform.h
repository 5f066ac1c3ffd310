#pragma once

#include "app/DevCommand.h"

// The Linux layers a developer mode needs, installed in the platform registry before it runs.
// Only what works without a display: the modes run on a core application.
namespace nolvea::DevPlatform {

void install(DevCommand::Kind kind);

} // namespace nolvea::DevPlatform
