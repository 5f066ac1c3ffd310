#pragma once

#include "support/Error.h"

namespace nolvea {

// The audio system refused to start capture; carries its own description.
class AudioInputError final : public Error {
public:
    explicit AudioInputError(QString message)
        : m_message(std::move(message)) {}
    QString message() const override { return m_message; }

private:
    QString m_message;
};

} // namespace nolvea
