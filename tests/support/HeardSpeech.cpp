#include "support/HeardSpeech.h"

#include "audio/AudioRecorder.h"
#include "platform/linux/QtAudioInput.h"

namespace nolvea::test {

namespace {
// On the recorder's scale (0 at -55 dBFS, 1 at -12): the recordings' words rise above the
// first; the quiet before and after them stays below the second.
constexpr float kSpeech = 0.3f;
constexpr float kQuiet = 0.1f;
} // namespace

HeardSpeech::HeardSpeech() = default;

HeardSpeech::~HeardSpeech() {
    if (m_input) m_input->stop();
}

bool HeardSpeech::listen() {
    if (m_input) return true;
    auto input = std::make_unique<QtAudioInput>();
    const AudioFormat format = input->format();
    if (!format.isValid()) return false;
    try {
        input->start(format, AudioRecorder::kFramesPerBuffer,
                     [this](const AudioBuffer& b) { hear(b); });
    } catch (const std::exception&) {
        return false;
    }
    m_input = std::move(input);
    return true;
}

void HeardSpeech::hear(const AudioBuffer& buffer) {
    const float level = AudioRecorder::level(buffer);
    std::lock_guard lock(m_mutex);
    m_sampleRate = buffer.format.sampleRate;
    m_frames += buffer.frames();
    if (level >= kSpeech) {
        m_spoke = true;
        m_quietFrames = 0;
    } else if (level < kQuiet) {
        m_quietFrames += buffer.frames();
    } else {
        m_quietFrames = 0;
    }
}

void HeardSpeech::restart() {
    std::lock_guard lock(m_mutex);
    m_spoke = false;
    m_quietFrames = 0;
}

bool HeardSpeech::isPastSpeech() const {
    std::lock_guard lock(m_mutex);
    return m_spoke && m_sampleRate > 0 && m_quietFrames * 4 >= m_sampleRate;
}

qint64 HeardSpeech::milliseconds() const {
    std::lock_guard lock(m_mutex);
    return m_sampleRate > 0 ? m_frames * 1000 / m_sampleRate : 0;
}

} // namespace nolvea::test
