#pragma once

#include "support/Error.h"

namespace nolvea {

class TranscriberError final : public Error {
public:
    enum class Code { unsupportedLocale, noAudioFormat };

    static TranscriberError unsupportedLocale(QString localeID) {
        return TranscriberError(Code::unsupportedLocale, std::move(localeID));
    }
    static TranscriberError noAudioFormat() { return TranscriberError(Code::noAudioFormat, {}); }

    Code code() const { return m_code; }
    QString localeID() const { return m_localeID; }

    QString message() const override {
        switch (m_code) {
        case Code::unsupportedLocale:
            return QStringLiteral("O idioma ") + m_localeID +
                   QStringLiteral(" não é suportado pela transcrição da Apple.");
        case Code::noAudioFormat:
            break;
        }
        return QStringLiteral("Não foi possível preparar o formato de áudio da transcrição.");
    }

private:
    TranscriberError(Code code, QString localeID)
        : m_code(code)
        , m_localeID(std::move(localeID)) {}

    Code m_code;
    QString m_localeID;
};

} // namespace nolvea
