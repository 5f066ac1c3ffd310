#pragma once

#include "platform/AudioBuffer.h"

#include <QString>

namespace nolvea {

// A recording read in buffers, as fast as they are asked for: a RIFF/WAVE file (16-bit or
// 32-bit float PCM, any rate and channels), or raw 16 kHz mono 16-bit PCM in a file named
// *.raw or *.pcm.
class AudioFileReader {
public:
    // Throws AudioFileError.
    static AudioFileReader open(const QString& path);

    const AudioFormat& format() const { return m_format; }
    qint64 length() const; // frames
    qint64 position() const { return m_position; }

    // The next `frames` frames at most; an empty buffer at the end.
    AudioBuffer read(qint64 frames);

private:
    AudioFileReader(AudioFormat format, QByteArray pcm)
        : m_format(format)
        , m_pcm(std::move(pcm)) {}

    AudioFormat m_format;
    QByteArray m_pcm;
    qint64 m_position = 0;
};

} // namespace nolvea
