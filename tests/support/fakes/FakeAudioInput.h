#pragma once

#include "platform/AudioInput.h"
#include "platform/AudioInputError.h"

namespace nolvea::test {

// A capture stream driven by the test: it records what the recorder asked of it, and the
// test feeds buffers through the tap it was given.
class FakeAudioInput final : public AudioInput {
public:
    struct Log {
        AudioFormat format{48000, 2, AudioFormat::Sample::float32};
        bool failStart = false;
        int starts = 0;
        int stops = 0;
        int frames = 0;
        Tap tap;
    };
    explicit FakeAudioInput(Log& log)
        : m_log(log) {}
    AudioFormat format() override { return m_log.format; }
    void start(const AudioFormat&, int frames, Tap tap) override {
        if (m_log.failStart) throw AudioInputError(QStringLiteral("sem dispositivo"));
        ++m_log.starts;
        m_log.frames = frames;
        m_log.tap = std::move(tap);
    }
    void stop() override {
        ++m_log.stops;
        m_log.tap = nullptr;
    }

private:
    Log& m_log;
};

} // namespace nolvea::test
