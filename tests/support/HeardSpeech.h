#pragma once

#include "platform/AudioBuffer.h"

#include <memory>
#include <mutex>

namespace nolvea {
class QtAudioInput;
}

namespace nolvea::test {

// Follows what the session's microphone hears, from the levels of the buffers it is fed: whether
// a recording played into it has come through to its last word, and how much sound has come
// in. Fed by a recorder's buffers (`hear`, from any thread) or, after `listen`, by a recording of
// its own from the default input, which the audio server feeds together with every other one.
class HeardSpeech {
public:
    HeardSpeech();
    ~HeardSpeech();
    HeardSpeech(const HeardSpeech&) = delete;
    HeardSpeech& operator=(const HeardSpeech&) = delete;

    // Records the default input; false when it cannot.
    bool listen();
    void hear(const AudioBuffer& buffer);
    // Forgets the speech heard so far: the next one is waited for.
    void restart();

    // Speech came in, then a quarter second of quiet: longer than any pause between words of
    // the recordings, so the last word is in.
    bool isPastSpeech() const;
    // Sound heard in all, speech or not.
    qint64 milliseconds() const;

private:
    mutable std::mutex m_mutex; // fed on the audio thread
    bool m_spoke = false;
    qint64 m_quietFrames = 0;
    qint64 m_frames = 0;
    int m_sampleRate = 0;
    std::unique_ptr<QtAudioInput> m_input;
};

} // namespace nolvea::test
