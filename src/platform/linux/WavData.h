#pragma once

#include "platform/AudioFormat.h"

#include <QByteArray>

#include <optional>

namespace nolvea {

// The PCM frames of a RIFF/WAVE file (16-bit or 32-bit float), with their format.
struct WavData {
    AudioFormat format;
    QByteArray pcm;

    // Nothing when the bytes are not such a file. A data chunk whose size runs past the end
    // (as streaming writers leave it) takes what is there.
    static std::optional<WavData> parse(const QByteArray& bytes);
    double seconds() const;
};

} // namespace nolvea
