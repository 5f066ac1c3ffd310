#pragma once

#include "support/Error.h"

namespace nolvea {

// A failed network, file or process step of a check or an installation, described for the
// person.
class UpdateFailure final : public Error {
public:
    explicit UpdateFailure(QString text)
        : m_text(std::move(text)) {}
    QString message() const override { return m_text; }

private:
    QString m_text;
};

} // namespace nolvea
