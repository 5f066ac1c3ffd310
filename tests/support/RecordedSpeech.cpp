#include "support/RecordedSpeech.h"

#include <QFile>

#include <cstring>

namespace nolvea::test {

QString RecordedSpeech::goForwardPath() {
    return QStringLiteral("/usr/share/pocketsphinx/test/data/goforward.raw");
}

QByteArray RecordedSpeech::goForwardRaw() {
    QFile f(goForwardPath());
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing %s", qPrintable(goForwardPath()));
    return f.readAll();
}

std::vector<AudioBuffer> RecordedSpeech::split(const AudioBuffer& all, int frames) {
    std::vector<AudioBuffer> out;
    const qsizetype chunk = qsizetype(frames) * all.format.bytesPerFrame();
    for (qsizetype at = 0; at < all.data.size(); at += chunk)
        out.push_back(AudioBuffer{all.format, all.data.mid(at, chunk)});
    return out;
}

std::vector<AudioBuffer> RecordedSpeech::goForward16k() {
    return split(AudioBuffer{{16000, 1, AudioFormat::Sample::int16}, goForwardRaw()});
}

std::vector<AudioBuffer> RecordedSpeech::goForward48kStereo() {
    const AudioBuffer in{{16000, 1, AudioFormat::Sample::int16}, goForwardRaw()};
    const qint64 n = in.frames();
    AudioBuffer out{{48000, 2, AudioFormat::Sample::float32}, {}};
    out.data.resize(n * 3 * out.format.bytesPerFrame());
    auto* p = reinterpret_cast<float*>(out.data.data());
    for (qint64 i = 0; i < n; ++i) {
        const float a = in.sample(i, 0), b = i + 1 < n ? in.sample(i + 1, 0) : a;
        for (int k = 0; k < 3; ++k) {
            const float s = a + (b - a) * float(k) / 3.0f;
            *p++ = s;
            *p++ = s;
        }
    }
    return split(out);
}

} // namespace nolvea::test
