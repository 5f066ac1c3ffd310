#pragma once

#include "platform/DesktopError.h"
#include "support/Error.h"

namespace nolvea {

// Why a text did not go into the front application, and whether it waits on the clipboard
// for the person to paste it by hand.
class TextInserterError final : public Error {
public:
    enum class Kind {
        noClipboard, // nothing was written anywhere
        notPasted,   // the text is on the clipboard; the paste keystroke could not be posted
    };

    TextInserterError(Kind kind, DesktopError cause)
        : m_kind(kind)
        , m_cause(cause) {}

    Kind kind() const { return m_kind; }
    const DesktopError& cause() const { return m_cause; }
    bool textOnClipboard() const { return m_kind == Kind::notPasted; }

    QString message() const override {
        if (m_kind == Kind::notPasted)
            return QStringLiteral("Não consegui colar: o texto está na área de transferência");
        return QStringLiteral("Não consegui colar: a área de transferência não está disponível.");
    }

private:
    Kind m_kind;
    DesktopError m_cause;
};

} // namespace nolvea
