#pragma once

#include "mcp/MCPError.h"
#include "mcp/MCPServerConfig.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <variant>

namespace nolvea {

// The whole of mcp.json: {"mcpServers": {name: server}}.
struct MCPConfigFile {
    std::map<QString, MCPServerConfig> mcpServers;

    // Two-space indented JSON, keys sorted, "/" left bare.
    QByteArray encode() const;
    // The configuration, or an invalid-configuration error saying what is wrong.
    static std::variant<MCPConfigFile, MCPError> decode(const QByteArray& bytes);
    // The file written when there is none: two servers, both switched off.
    static QByteArray defaultText(const QString& timeZoneID);

    friend bool operator==(const MCPConfigFile&, const MCPConfigFile&) = default;
};

} // namespace nolvea
