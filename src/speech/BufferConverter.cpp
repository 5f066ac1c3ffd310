#include "speech/BufferConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace nolvea {

std::optional<quint32> BufferConverter::outputCapacity(int targetRate, int sourceRate,
                                                       qint64 frames) {
    if (targetRate <= 0 || sourceRate <= 0 || frames < 0) return std::nullopt;
    const double exact = std::ceil(double(targetRate) / double(sourceRate) * double(frames)) + 1;
    if (exact > double(std::numeric_limits<quint32>::max())) return std::nullopt;
    return quint32(exact);
}

std::optional<AudioBuffer> BufferConverter::convert(const AudioBuffer& buffer) {
    if (buffer.format == m_target) return buffer;
    if (!buffer.format.isValid() || !m_target.isValid()) return std::nullopt;
    if (m_source != buffer.format) {
        m_source = buffer.format;
        m_position = 0;
        m_last = 0;
    }
    const auto capacity =
        outputCapacity(m_target.sampleRate, buffer.format.sampleRate, buffer.frames());
    if (!capacity) return std::nullopt;

    // Mix down to one channel.
    const qint64 n = buffer.frames();
    const int channels = buffer.format.channels;
    std::vector<float> mono(static_cast<size_t>(n));
    for (qint64 i = 0; i < n; ++i) {
        float sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += buffer.sample(i, c);
        mono[size_t(i)] = sum / float(channels);
    }

    // Resample.
    std::vector<float> out;
    out.reserve(*capacity);
    const double step = double(buffer.format.sampleRate) / double(m_target.sampleRate);
    if (step >= 1.0) {
        // Each output frame is the mean of the input frames it covers.
        while (m_position + step <= double(n) && out.size() < *capacity) {
            const qint64 from = std::max<qint64>(0, qint64(std::floor(m_position)));
            const qint64 to =
                std::clamp<qint64>(qint64(std::floor(m_position + step)), from + 1, n);
            float sum = 0;
            for (qint64 i = from; i < to; ++i)
                sum += mono[size_t(i)];
            out.push_back(sum / float(to - from));
            m_position += step;
        }
    } else {
        // Linear interpolation; a position before this buffer leans on the previous one.
        while (m_position <= double(n - 1) && out.size() < *capacity) {
            const double at = m_position;
            const qint64 i = qint64(std::floor(at));
            const float frac = float(at - double(i));
            const float a = i < 0 ? m_last : mono[size_t(i)];
            const float b = i + 1 < n ? mono[size_t(i + 1)] : a;
            out.push_back(a + (b - a) * frac);
            m_position += step;
        }
    }
    m_position -= double(n);
    if (n > 0) m_last = mono.back();

    // Write the target's sample type, in its channel count.
    AudioBuffer result{m_target, {}};
    result.data.resize(qsizetype(out.size()) * m_target.bytesPerFrame());
    char* p = result.data.data();
    for (float s : out) {
        for (int c = 0; c < m_target.channels; ++c) {
            if (m_target.sample == AudioFormat::Sample::int16) {
                const auto v = qint16(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
                std::memcpy(p, &v, sizeof v);
                p += sizeof v;
            } else {
                std::memcpy(p, &s, sizeof s);
                p += sizeof s;
            }
        }
    }
    return result;
}

} // namespace nolvea
