#pragma once

#include "support/Error.h"

namespace nolvea {

// A program could not be started at all (missing, not executable, no resources).
class ProcessStartError final : public Error {
public:
    // `reason` is the system's own description of the failure.
    ProcessStartError(QString message, QString reason)
        : m_message(std::move(message))
        , m_reason(std::move(reason)) {}

    QString message() const override { return m_message; }
    const QString& reason() const { return m_reason; }

private:
    QString m_message;
    QString m_reason;
};

} // namespace nolvea
