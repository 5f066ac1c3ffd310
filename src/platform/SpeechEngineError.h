#pragma once

#include "support/Error.h"

namespace nolvea {

// A failure of the speech engine itself (model, decoder); carries its description.
class SpeechEngineError final : public Error {
public:
    explicit SpeechEngineError(QString message)
        : m_message(std::move(message)) {}
    QString message() const override { return m_message; }

private:
    QString m_message;
};

} // namespace nolvea
