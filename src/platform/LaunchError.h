#pragma once

#include "support/Error.h"

namespace nolvea {

// Nothing was opened; the message says why, in words the person (and the model) can use.
class LaunchError final : public Error {
public:
    explicit LaunchError(QString message)
        : m_message(std::move(message)) {}

    QString message() const override { return m_message; }

private:
    QString m_message;
};

} // namespace nolvea
