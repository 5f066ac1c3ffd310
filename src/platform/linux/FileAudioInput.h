#pragma once

#include "platform/AudioInput.h"

#include <QByteArray>

#include <atomic>
#include <thread>

namespace nolvea {

// A capture stream that reads a recording (raw 16 kHz mono 16-bit) instead of a microphone,
// for self-tests: started, it hands the recording's buffers to the tap on a thread of its
// own, at the pace of real time or as fast as they are taken, then falls silent.
class FileAudioInput final : public AudioInput {
public:
    enum class Pace { realTime, immediate };

    explicit FileAudioInput(QString path, Pace pace = Pace::realTime);
    ~FileAudioInput() override;

    AudioFormat format() override;
    void start(const AudioFormat& format, int frames, Tap tap) override;
    void stop() override;

    // All of the recording has gone to the tap.
    bool isDrained() const { return m_drained; }

private:
    QString m_path;
    Pace m_pace;
    QByteArray m_data;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_drained{false};
};

} // namespace nolvea
