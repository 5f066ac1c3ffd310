#include "platform/AudioBuffer.h"

#include <cstring>

namespace nolvea {

qint64 AudioBuffer::frames() const {
    const int bpf = format.bytesPerFrame();
    return bpf > 0 ? data.size() / bpf : 0;
}

float AudioBuffer::sample(qint64 frame, int channel) const {
    const qint64 offset =
        frame * format.bytesPerFrame() + qint64(channel) * format.bytesPerSample();
    const char* p = data.constData() + offset;
    if (format.sample == AudioFormat::Sample::int16) {
        qint16 v;
        std::memcpy(&v, p, sizeof v);
        return float(v) / 32768.0f;
    }
    float v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

AudioBuffer AudioBuffer::deepCopy() const {
    return AudioBuffer{format, QByteArray(data.constData(), data.size())};
}

AudioBuffer AudioBuffer::fromInt16(std::span<const qint16> samples, int sampleRate, int channels) {
    return AudioBuffer{
        {sampleRate, channels, AudioFormat::Sample::int16},
        QByteArray(reinterpret_cast<const char*>(samples.data()), qsizetype(samples.size_bytes()))};
}

AudioBuffer AudioBuffer::fromFloat(std::span<const float> samples, int sampleRate, int channels) {
    return AudioBuffer{
        {sampleRate, channels, AudioFormat::Sample::float32},
        QByteArray(reinterpret_cast<const char*>(samples.data()), qsizetype(samples.size_bytes()))};
}

} // namespace nolvea
