#pragma once

#include "support/Error.h"

namespace nolvea {

class AudioRecorderError final : public Error {
public:
    enum class Code { noInput };

    explicit AudioRecorderError(Code code = Code::noInput)
        : m_code(code) {}
    Code code() const { return m_code; }
    QString message() const override { return QStringLiteral("Nenhum microfone disponível."); }

private:
    Code m_code;
};

} // namespace nolvea
