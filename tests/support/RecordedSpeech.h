#pragma once

#include "platform/AudioBuffer.h"

#include <QString>

#include <vector>

namespace nolvea::test {

// Recorded human speech from pocketsphinx's test data: "go forward ten meters".
class RecordedSpeech {
public:
    static QString goForwardPath();
    // The raw recording: 16 kHz mono 16-bit.
    static QByteArray goForwardRaw();
    // In 1024-frame buffers, as recorded.
    static std::vector<AudioBuffer> goForward16k();
    // Resampled to 48 kHz stereo float in 1024-frame buffers, as a microphone delivers it.
    static std::vector<AudioBuffer> goForward48kStereo();
    // Cuts a buffer into pieces of `frames` frames.
    static std::vector<AudioBuffer> split(const AudioBuffer& all, int frames = 1024);
};

} // namespace nolvea::test
