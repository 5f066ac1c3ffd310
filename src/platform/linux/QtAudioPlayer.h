#pragma once

#include "platform/AudioPlayer.h"
#include "platform/AudioPlayerFactory.h"

#include <QBuffer>
#include <QObject>

#include <memory>

class QAudioSink;

namespace nolvea {

// WAV playback through Qt Multimedia's QAudioSink on the default output.
class QtAudioPlayer final : public QObject, public AudioPlayer {
public:
    QtAudioPlayer();
    ~QtAudioPlayer() override;

    bool play(const QByteArray& wav, std::function<void()> finished) override;
    void stop() override;
    bool isPlaying() const override;
    void setVolume(float volume) override;

    class Factory final : public AudioPlayerFactory {
    public:
        std::unique_ptr<AudioPlayer> create() override { return std::make_unique<QtAudioPlayer>(); }
    };

private:
    void release();

    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_buffer;
    std::function<void()> m_finished;
    float m_volume = 1.0f;
};

} // namespace nolvea
