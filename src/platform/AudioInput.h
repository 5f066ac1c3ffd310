#pragma once

#include "platform/AudioBuffer.h"

#include <functional>

namespace nolvea {

// One capture stream from the default microphone.
class AudioInput {
public:
    using Tap = std::function<void(const AudioBuffer&)>;

    virtual ~AudioInput() = default;

    // The format the default input records in; invalid when there is no input device.
    virtual AudioFormat format() = 0;
    // Starts capture in `format`, calling `tap` on the audio thread with buffers of `frames`
    // frames (the last one of a run may be shorter). Throws `AudioInputError`.
    virtual void start(const AudioFormat& format, int frames, Tap tap) = 0;
    // Ends capture and removes the tap: once it returns the tap is never called again.
    virtual void stop() = 0;
};

} // namespace nolvea
