#include "app/AudioFileReader.h"

#include "app/AudioFileError.h"
#include "platform/linux/WavData.h"

#include <QFile>

namespace nolvea {

AudioFileReader AudioFileReader::open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AudioFileError(AudioFileError::Code::unreadable, path);
    const QByteArray bytes = file.readAll();
    if (auto wav = WavData::parse(bytes)) return AudioFileReader(wav->format, wav->pcm);
    // A WAV header that does not parse is a broken file, not raw audio.
    const QString name = path.toLower();
    if (bytes.startsWith("RIFF") || !(name.endsWith(u".raw") || name.endsWith(u".pcm")))
        throw AudioFileError(AudioFileError::Code::notAudio, path);
    const AudioFormat raw{16000, 1, AudioFormat::Sample::int16};
    return AudioFileReader(raw, bytes.left(bytes.size() - bytes.size() % raw.bytesPerFrame()));
}

qint64 AudioFileReader::length() const {
    return m_pcm.size() / m_format.bytesPerFrame();
}

AudioBuffer AudioFileReader::read(qint64 frames) {
    const qint64 count = std::clamp<qint64>(length() - m_position, 0, std::max<qint64>(frames, 0));
    const qsizetype bpf = m_format.bytesPerFrame();
    AudioBuffer buffer{m_format, m_pcm.mid(m_position * bpf, count * bpf)};
    m_position += count;
    return buffer;
}

} // namespace nolvea
