#pragma once

#include "support/Error.h"

#include <QString>

namespace nolvea {

// A JSON value that does not have the shape a record needs. `path` names where it went
// wrong ("tool_calls[0].function.arguments"), so a bad reply can be told apart in the log.
class DecodingError final : public Error {
public:
    enum class Kind { missingKey, wrongType };

    DecodingError(Kind kind, QString path, QString expected = {})
        : m_kind(kind)
        , m_path(std::move(path))
        , m_expected(std::move(expected)) {}

    static DecodingError missingKey(const QString& path) { return {Kind::missingKey, path}; }
    static DecodingError wrongType(const QString& path, const QString& expected) {
        return {Kind::wrongType, path, expected};
    }

    Kind kind() const { return m_kind; }
    const QString& path() const& { return m_path; }
    QString path() const&& { return m_path; }

    QString message() const override {
        if (m_kind == Kind::missingKey)
            return QStringLiteral("Resposta inválida: falta o campo \"%1\".").arg(m_path);
        return QStringLiteral("Resposta inválida: o campo \"%1\" devia ser %2.")
            .arg(m_path.isEmpty() ? QStringLiteral("(raiz)") : m_path, m_expected);
    }

private:
    Kind m_kind;
    QString m_path;
    QString m_expected;
};

} // namespace nolvea
