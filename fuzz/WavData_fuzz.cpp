// Recordings handed to the program: WAV files, and raw PCM by their name.
#include "FuzzSupport.h"
#include "app/AudioFileError.h"
#include "app/AudioFileReader.h"
#include "platform/linux/WavData.h"

#include <QFile>

using namespace nolvea;

namespace {

void readAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return;
    file.close();
    try {
        AudioFileReader reader = AudioFileReader::open(path);
        FUZZ_CHECK(reader.format().isValid());
        qint64 frames = 0;
        for (;;) {
            const AudioBuffer buffer = reader.read(4096);
            if (buffer.frames() == 0) break;
            frames += buffer.frames();
        }
        FUZZ_CHECK(frames == reader.length());
    } catch (const AudioFileError& e) {
        FUZZ_CHECK(!e.message().isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    if (const auto wav = WavData::parse(input)) {
        FUZZ_CHECK(wav->format.isValid());
        FUZZ_CHECK(wav->pcm.size() % (wav->format.bytesPerSample() * wav->format.channels) == 0);
        FUZZ_CHECK(wav->seconds() >= 0);
    }
    readAll(fuzz::scratch() + QStringLiteral("/gravacao.wav"), input);
    readAll(fuzz::scratch() + QStringLiteral("/gravacao.raw"), input);
    return 0;
}
