#pragma once

#include "platform/AudioBuffer.h"
#include "platform/AudioInput.h"

#include <functional>
#include <memory>

namespace nolvea {

// Captures the microphone in buffers of 1024 frames and hands each buffer, then its level,
// to the owner. Both callbacks run on the audio thread.
class AudioRecorder {
public:
    static constexpr int kFramesPerBuffer = 1024;

    // Without an input, one is made by the installed `AudioInputFactory`.
    explicit AudioRecorder(std::unique_ptr<AudioInput> input = nullptr);
    ~AudioRecorder();

    std::function<void(const AudioBuffer&)> onBuffer;
    std::function<void(float)> onLevel;

    // Throws `AudioRecorderError` (no input device) or `AudioInputError`.
    void start();
    // Removes the tap and ends capture; nothing when not recording.
    void stop();
    bool isRecording() const { return m_isRecording; }
    // Whether there is an input device to record from.
    bool hasInput() const;

    // Loudness of the first channel: -55 dBFS and below is 0, -12 dBFS and above is 1.
    static float level(const AudioBuffer& buffer);

private:
    std::unique_ptr<AudioInput> m_input;
    bool m_isRecording = false;
};

} // namespace nolvea
