#include "platform/linux/QtAudioPlayer.h"

#include "platform/linux/WavData.h"

#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

namespace nolvea {

QtAudioPlayer::QtAudioPlayer() = default;

QtAudioPlayer::~QtAudioPlayer() {
    release();
}

void QtAudioPlayer::release() {
    m_finished = nullptr;
    if (m_sink) {
        QObject::disconnect(m_sink.get(), nullptr, this, nullptr);
        m_sink->stop();
        m_sink.reset();
    }
    m_buffer.close();
}

bool QtAudioPlayer::play(const QByteArray& wav, std::function<void()> finished) {
    release();
    const auto data = WavData::parse(wav);
    if (!data || data->pcm.isEmpty()) return false;
    QAudioFormat format;
    format.setSampleRate(data->format.sampleRate);
    format.setChannelCount(data->format.channels);
    format.setSampleFormat(data->format.sample == AudioFormat::Sample::int16 ? QAudioFormat::Int16
                                                                             : QAudioFormat::Float);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    m_buffer.setData(data->pcm);
    m_buffer.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setVolume(m_volume);
    m_finished = std::move(finished);
    QObject::connect(m_sink.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        // The whole buffer has gone to the device once the sink runs dry at its end.
        if (state == QAudio::IdleState && m_buffer.atEnd()) {
            auto done = std::exchange(m_finished, nullptr);
            // Let the sink leave its signal before it is stopped.
            QTimer::singleShot(0, this, [this, done] {
                if (m_sink && m_sink->state() == QAudio::IdleState) m_sink->stop();
                if (done) done();
            });
        }
    });
    m_sink->start(&m_buffer);
    if (m_sink->error() != QAudio::NoError) {
        release();
        return false;
    }
    return true;
}

void QtAudioPlayer::stop() {
    release();
}

bool QtAudioPlayer::isPlaying() const {
    return m_sink && (m_sink->state() == QAudio::ActiveState ||
                      (m_sink->state() == QAudio::IdleState && !m_buffer.atEnd()));
}

void QtAudioPlayer::setVolume(float volume) {
    m_volume = volume;
    if (m_sink) m_sink->setVolume(volume);
}

} // namespace nolvea
