#pragma once

#include "platform/AudioFormat.h"

#include <QByteArray>

#include <span>

namespace nolvea {

// A run of interleaved PCM frames and their format.
struct AudioBuffer {
    AudioFormat format;
    QByteArray data;

    qint64 frames() const;
    // The sample of `frame` on `channel`, as a float in -1 … 1.
    float sample(qint64 frame, int channel) const;

    // A copy that owns its bytes, independent of any buffer the capture reuses.
    AudioBuffer deepCopy() const;

    static AudioBuffer fromInt16(std::span<const qint16> samples, int sampleRate, int channels = 1);
    static AudioBuffer fromFloat(std::span<const float> samples, int sampleRate, int channels = 1);
};

} // namespace nolvea
