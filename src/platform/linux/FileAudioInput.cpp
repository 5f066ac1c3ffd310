#include "platform/linux/FileAudioInput.h"

#include "platform/AudioInputError.h"

#include <QFile>

#include <chrono>

namespace nolvea {

namespace {
const AudioFormat kFormat{16000, 1, AudioFormat::Sample::int16};
}

FileAudioInput::FileAudioInput(QString path, Pace pace)
    : m_path(std::move(path))
    , m_pace(pace) {}

FileAudioInput::~FileAudioInput() {
    stop();
}

AudioFormat FileAudioInput::format() {
    return QFile::exists(m_path) ? kFormat : AudioFormat{};
}

void FileAudioInput::start(const AudioFormat& format, int frames, Tap tap) {
    stop();
    QFile file(m_path);
    if (format != kFormat || !file.open(QIODevice::ReadOnly))
        throw AudioInputError(QStringLiteral("Não foi possível ler a gravação ") + m_path);
    m_data = file.readAll();
    m_stop = false;
    m_drained = false;
    m_thread = std::thread([this, frames, tap = std::move(tap)] {
        const qsizetype chunk = qsizetype(frames) * kFormat.bytesPerFrame();
        const auto period =
            std::chrono::microseconds(qint64(frames) * 1'000'000 / kFormat.sampleRate);
        auto due = std::chrono::steady_clock::now();
        for (qsizetype at = 0; at < m_data.size() && !m_stop; at += chunk) {
            if (m_pace == Pace::realTime) {
                due += period;
                std::this_thread::sleep_until(due);
            }
            tap(AudioBuffer{kFormat, m_data.mid(at, chunk)});
        }
        m_drained = true;
    });
}

void FileAudioInput::stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
}

} // namespace nolvea
