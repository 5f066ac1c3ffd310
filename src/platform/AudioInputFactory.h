#pragma once

#include "platform/AudioInput.h"

#include <memory>

namespace nolvea {

// Makes capture streams; each recorder owns one for its life.
class AudioInputFactory {
public:
    virtual ~AudioInputFactory() = default;
    virtual std::unique_ptr<AudioInput> create() = 0;
};

} // namespace nolvea
