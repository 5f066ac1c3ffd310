#pragma once

#include "support/Error.h"

namespace nolvea {

// Why a typed request was not taken; whoever typed it keeps the text.
class TypedRequestError final : public Error {
public:
    enum class Kind {
        blank, // nothing but blanks
        busy,  // a listening, a request or a confirmation is under way
    };

    explicit TypedRequestError(Kind kind)
        : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    QString message() const override {
        if (m_kind == Kind::blank) return QStringLiteral("Digite um pedido.");
        return QStringLiteral("Aguarde o fim do pedido em andamento.");
    }

private:
    Kind m_kind;
};

} // namespace nolvea
