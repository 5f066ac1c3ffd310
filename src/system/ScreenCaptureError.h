#pragma once

#include "support/Error.h"

#include <QString>

namespace nolvea {

// No picture of the screen: no X11 session, no screen or no image; the text says which.
class ScreenCaptureError final : public Error {
public:
    explicit ScreenCaptureError(QString message)
        : m_message(std::move(message)) {}

    QString message() const override { return m_message; }

private:
    QString m_message;
};

} // namespace nolvea
