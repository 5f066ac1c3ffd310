#pragma once

#include "support/Error.h"

namespace nolvea {

// A recording the dictation self-test cannot read.
class AudioFileError final : public Error {
public:
    enum class Code { unreadable, notAudio };

    AudioFileError(Code code, QString path)
        : m_code(code)
        , m_path(std::move(path)) {}

    Code code() const { return m_code; }

    QString message() const override {
        switch (m_code) {
        case Code::unreadable:
            return QStringLiteral("Não foi possível abrir o arquivo de áudio %1.").arg(m_path);
        case Code::notAudio:
            break;
        }
        return QStringLiteral("%1 não é um áudio WAV nem PCM bruto (16 kHz, 16 bits, mono, "
                              "terminado em .raw ou .pcm).")
            .arg(m_path);
    }

private:
    Code m_code;
    QString m_path;
};

} // namespace nolvea
