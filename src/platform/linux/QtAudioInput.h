#pragma once

#include "platform/AudioInput.h"
#include "platform/AudioInputFactory.h"

#include <QThread>

#include <memory>

namespace nolvea {

// Capture through Qt Multimedia's QAudioSource on the default input, run on a thread of its
// own ("Nolvea.audio") so that the tap never waits for the main thread.
class QtAudioInput final : public AudioInput {
public:
    QtAudioInput();
    ~QtAudioInput() override;

    AudioFormat format() override;
    void start(const AudioFormat& format, int frames, Tap tap) override;
    void stop() override;

    class Factory final : public AudioInputFactory {
    public:
        std::unique_ptr<AudioInput> create() override { return std::make_unique<QtAudioInput>(); }
    };

private:
    class Worker;
    QThread m_thread;
    Worker* m_worker = nullptr; // lives on m_thread, deleted when it finishes
};

} // namespace nolvea
