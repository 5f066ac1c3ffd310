#pragma once

#include "core/AppPaths.h"
#include "support/Error.h"

namespace nolvea {

class TranscriberError final : public Error {
public:
    enum class Code { unsupportedLocale, noAudioFormat };

    static TranscriberError unsupportedLocale(QString localeID) {
        return TranscriberError(Code::unsupportedLocale, std::move(localeID),
                                AppPaths::file(QStringLiteral("whisper")));
    }
    static TranscriberError noAudioFormat() {
        return TranscriberError(Code::noAudioFormat, {}, {});
    }

    Code code() const { return m_code; }
    QString localeID() const { return m_localeID; }

    QString message() const override {
        switch (m_code) {
        case Code::unsupportedLocale:
            return QStringLiteral("O idioma ") + m_localeID +
                   QStringLiteral(
                       " não é suportado pela transcrição local. Para usá-lo, coloque "
                       "um modelo whisper multilíngue (ggml-base.bin, por exemplo) em ") +
                   m_modelFolder + QLatin1Char('.');
        case Code::noAudioFormat:
            break;
        }
        return QStringLiteral("Não foi possível preparar o formato de áudio da transcrição.");
    }

private:
    TranscriberError(Code code, QString localeID, QString modelFolder)
        : m_code(code)
        , m_localeID(std::move(localeID))
        , m_modelFolder(std::move(modelFolder)) {}

    Code m_code;
    QString m_localeID;
    QString m_modelFolder; // where a whisper model would make the locale work
};

} // namespace nolvea
