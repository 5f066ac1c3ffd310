#pragma once

#include "support/Error.h"

#include <QString>

namespace nolvea {

// A failed model call, with the sentence the interface shows. `subject` names who failed
// ("O Vornel", "O servidor de IA" or the provider's label).
class LLMError final : public Error {
public:
    enum class Kind { offline, http, missingKey, noModel, refused, emptyResponse };

    static LLMError offline(const QString& subject) { return {Kind::offline, subject}; }
    static LLMError http(const QString& subject, int status, const QString& body) {
        LLMError e{Kind::http, subject};
        e.m_status = status;
        e.m_body = body;
        return e;
    }
    static LLMError missingKey(const QString& label) { return {Kind::missingKey, label}; }
    static LLMError noModel() { return {Kind::noModel, {}}; }
    static LLMError refused() { return {Kind::refused, {}}; }
    static LLMError emptyResponse() { return {Kind::emptyResponse, {}}; }

    Kind kind() const { return m_kind; }
    // The subject of `offline` and `http`, the label of `missingKey`.
    const QString& subject() const& { return m_subject; }
    QString subject() const&& { return m_subject; }
    int status() const { return m_status; }
    // The whole body of an `http` error; only the message cuts it.
    const QString& body() const& { return m_body; }
    QString body() const&& { return m_body; }

    QString message() const override;

private:
    LLMError(Kind kind, QString subject)
        : m_kind(kind)
        , m_subject(std::move(subject)) {}

    Kind m_kind;
    QString m_subject;
    int m_status = 0;
    QString m_body;
};

} // namespace nolvea
