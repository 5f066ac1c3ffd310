#pragma once

#include "support/Error.h"

namespace nolvea {

// The speech server could not be reached.
class TTSServerError final : public Error {
public:
    explicit TTSServerError(QString message)
        : m_message(std::move(message)) {}
    QString message() const override { return m_message; }

private:
    QString m_message;
};

} // namespace nolvea
