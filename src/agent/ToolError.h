#pragma once

#include "support/Error.h"

namespace nolvea {

// A tool's failure. Every case carries one text; `missing` names the absent argument.
class ToolError final : public Error {
public:
    enum class Kind { missing, invalid, denied, failed, needsLogin };

    ToolError(Kind kind, QString payload)
        : m_kind(kind)
        , m_payload(std::move(payload)) {}

    static ToolError missing(const QString& argument) { return {Kind::missing, argument}; }
    static ToolError invalid(const QString& message) { return {Kind::invalid, message}; }
    static ToolError denied(const QString& message) { return {Kind::denied, message}; }
    static ToolError failed(const QString& message) { return {Kind::failed, message}; }
    static ToolError needsLogin(const QString& message) { return {Kind::needsLogin, message}; }

    Kind kind() const { return m_kind; }
    const QString& payload() const& { return m_payload; }
    QString payload() const&& { return m_payload; }

    QString message() const override {
        if (m_kind == Kind::missing) return QStringLiteral("Faltou o campo \"%1\".").arg(m_payload);
        return m_payload;
    }

private:
    Kind m_kind;
    QString m_payload;
};

} // namespace nolvea
