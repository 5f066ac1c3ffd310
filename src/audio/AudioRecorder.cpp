#include "audio/AudioRecorder.h"

#include "audio/AudioRecorderError.h"
#include "platform/AudioInputFactory.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cmath>

namespace nolvea {

AudioRecorder::AudioRecorder(std::unique_ptr<AudioInput> input)
    : m_input(input ? std::move(input) : Platform::get<AudioInputFactory>().create()) {}

AudioRecorder::~AudioRecorder() {
    stop();
}

void AudioRecorder::start() {
    if (m_isRecording) return;
    const AudioFormat format = m_input->format();
    if (!format.isValid()) throw AudioRecorderError(AudioRecorderError::Code::noInput);
    // The tap runs only between start and stop, and stop waits for it: `this` outlives it.
    m_input->start(format, kFramesPerBuffer, [this](const AudioBuffer& buffer) {
        if (onBuffer) onBuffer(buffer);
        if (onLevel) onLevel(level(buffer));
    });
    m_isRecording = true;
}

bool AudioRecorder::hasInput() const {
    return m_input->format().isValid();
}

void AudioRecorder::stop() {
    if (!m_isRecording) return;
    m_input->stop();
    m_isRecording = false;
}

float AudioRecorder::level(const AudioBuffer& buffer) {
    const qint64 frames = buffer.frames();
    if (frames == 0 || !buffer.format.isValid()) return 0.0f;
    double sum = 0;
    for (qint64 i = 0; i < frames; ++i) {
        const double s = buffer.sample(i, 0);
        sum += s * s;
    }
    const double rms = std::sqrt(sum / double(frames));
    const double db = 20.0 * std::log10(std::max(rms, 1e-7));
    return float(std::clamp((db + 55.0) / 43.0, 0.0, 1.0));
}

} // namespace nolvea
