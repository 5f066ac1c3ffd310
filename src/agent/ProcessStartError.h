#pragma once

#include "support/Error.h"

namespace nolvea {

// A program could not be started at all (missing, not executable, no resources).
class ProcessStartError final : public Error {
public:
    explicit ProcessStartError(QString message)
        : m_message(std::move(message)) {}

    QString message() const override { return m_message; }

private:
    QString m_message;
};

} // namespace nolvea
