#pragma once

#include "platform/AudioPlayer.h"

#include <memory>

namespace nolvea {

class AudioPlayerFactory {
public:
    virtual ~AudioPlayerFactory() = default;
    virtual std::unique_ptr<AudioPlayer> create() = 0;
};

} // namespace nolvea
