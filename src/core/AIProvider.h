#pragma once

#include <QString>
#include <QUrl>

#include <array>
#include <optional>

namespace nolvea {

// The ten chat back-ends and everything fixed about each. The raw value is stored in the
// settings and inside the per-provider keys, so it never changes.
class AIProvider {
public:
    enum Value {
        lmStudio,
        ollama,
        openRouter,
        groq,
        gemini,
        openAI,
        anthropic,
        custom,
        claudeAccount,
        chatgptAccount,
    };

    constexpr AIProvider()
        : m_value(lmStudio) {}
    constexpr AIProvider(Value v)
        : m_value(v) {}
    constexpr operator Value() const { return m_value; }

    static const std::array<AIProvider, 10>& allCases();
    // The case whose raw value equals `text` exactly.
    static std::optional<AIProvider> fromRawValue(const QString& text);

    QString rawValue() const;
    QString id() const { return rawValue(); }
    QString label() const;
    bool isLocal() const;
    bool needsKey() const;
    QString note() const;
    // The provider's API-key page; empty for providers that take no key.
    QUrl keyPage() const;

    // The server address used when none is stored (no trailing slash).
    QString defaultServerURL() const;
    // The model used when none is stored.
    QString defaultModel() const;

    // The API base for a typed address: outer "/" and spaces trimmed; the two local servers
    // get "/v1" appended when it is not already there.
    QString apiBase(const QString& serverURL) const;

private:
    Value m_value;
};

} // namespace nolvea
