#pragma once

#include "support/Error.h"

namespace nolvea {

// Why an expression could not be evaluated; the message is shown to the model as it is.
class CalcError final : public Error {
public:
    static CalcError invalid(QString message) { return CalcError(std::move(message)); }

    QString message() const override { return m_message; }

private:
    explicit CalcError(QString message)
        : m_message(std::move(message)) {}
    QString m_message;
};

} // namespace nolvea
