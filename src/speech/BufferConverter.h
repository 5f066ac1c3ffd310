#pragma once

#include "platform/AudioBuffer.h"

#include <optional>

namespace nolvea {

// Converts captured audio to the format a recognizer takes: channels mixed down, the rate
// resampled (averaging when it falls, so the lost band does not fold back), the sample type
// changed. Keeps its position across buffers of one stream; starts over when the input
// format changes.
class BufferConverter {
public:
    explicit BufferConverter(AudioFormat target)
        : m_target(target) {}

    const AudioFormat& target() const { return m_target; }

    // The buffer in the target format (the same buffer when it already is), or nothing.
    std::optional<AudioBuffer> convert(const AudioBuffer& buffer);

    // Frames to reserve for `frames` input frames: the ceiling of the rate ratio times the
    // frames, plus one; nothing when that does not fit 32 bits.
    static std::optional<quint32> outputCapacity(int targetRate, int sourceRate, qint64 frames);

private:
    AudioFormat m_target;
    std::optional<AudioFormat> m_source; // the input format the state below belongs to
    double m_position = 0; // where the next output frame starts, in input frames of this buffer
    float m_last = 0;      // the previous buffer's last mixed sample
};

} // namespace nolvea
