#include "platform/linux/WavData.h"

#include <QtEndian>

namespace nolvea {

std::optional<WavData> WavData::parse(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(bytes.constData() + at));
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(bytes.constData() + at));
    };
    std::optional<AudioFormat> format;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            const quint16 tag = u16(body), channels = u16(body + 2), bits = u16(body + 14);
            const quint32 rate = u32(body + 4);
            AudioFormat f{int(rate), int(channels), AudioFormat::Sample::int16};
            if ((tag == 1 || tag == 0xFFFE) && bits == 16)
                format = f;
            else if ((tag == 3 || tag == 0xFFFE) && bits == 32)
                format = AudioFormat{int(rate), int(channels), AudioFormat::Sample::float32};
            else
                return std::nullopt;
        } else if (id == "data") {
            if (!format || !format->isValid()) return std::nullopt;
            const qsizetype available = bytes.size() - body;
            qsizetype length = std::min<qsizetype>(qsizetype(size), available);
            length -= length % format->bytesPerFrame();
            return WavData{*format, bytes.mid(body, length)};
        }
        at = body + qsizetype(size) + (size & 1);
    }
    return std::nullopt;
}

double WavData::seconds() const {
    const int bpf = format.bytesPerFrame();
    return bpf > 0 && format.sampleRate > 0 ? double(pcm.size() / bpf) / format.sampleRate : 0;
}

} // namespace nolvea
