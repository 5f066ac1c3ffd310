#pragma once

#include "support/Error.h"

#include <QString>

namespace nolvea {

// Mail that could not be handed on: no program for it, or the program's own complaint.
class MailTransportError final : public Error {
public:
    explicit MailTransportError(QString message)
        : m_message(std::move(message)) {}

    QString message() const override { return m_message; }

private:
    QString m_message;
};

} // namespace nolvea
