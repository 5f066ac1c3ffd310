#pragma once

#include "support/Error.h"

namespace nolvea {

// A failure talking to an MCP server. Each case has its fixed Portuguese message.
class MCPError final : public Error {
public:
    enum class Kind {
        timeout,       // payload: the method that got no answer
        server,        // payload: the server's own message
        launch,        // payload: why the child could not be started
        notRunning,    // no payload
        protocol,      // payload: what the server broke (a runaway line, endless paging)
        invalidConfig, // payload: what is wrong with mcp.json
        unsaved,       // mcp.json could not be written; no payload
    };

    MCPError(Kind kind, QString payload = {})
        : m_kind(kind)
        , m_payload(std::move(payload)) {}

    static MCPError timeout(const QString& method) { return {Kind::timeout, method}; }
    static MCPError server(const QString& message) { return {Kind::server, message}; }
    static MCPError launch(const QString& reason) { return {Kind::launch, reason}; }
    static MCPError notRunning() { return {Kind::notRunning}; }
    static MCPError protocol(const QString& message) { return {Kind::protocol, message}; }
    static MCPError invalidConfig(const QString& reason) { return {Kind::invalidConfig, reason}; }
    static MCPError unsaved() { return {Kind::unsaved}; }

    Kind kind() const { return m_kind; }
    const QString& payload() const& { return m_payload; }
    QString payload() const&& { return m_payload; }

    QString message() const override;

    friend bool operator==(const MCPError& a, const MCPError& b) {
        return a.m_kind == b.m_kind && a.m_payload == b.m_payload;
    }

private:
    Kind m_kind;
    QString m_payload;
};

} // namespace nolvea
