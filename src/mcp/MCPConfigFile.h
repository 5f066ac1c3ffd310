#pragma once

#include "mcp/MCPServerConfig.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace nolvea {

// The whole of mcp.json: {"mcpServers": {name: server}}.
struct MCPConfigFile {
    std::map<QString, MCPServerConfig> mcpServers;

    // Two-space indented JSON, keys sorted, "/" left bare.
    QByteArray encode() const;
    // Nothing, with the reason in `error`, when the text is not a valid configuration.
    static std::optional<MCPConfigFile> decode(const QByteArray& bytes, QString* error);
    // The file written when there is none: two servers, both switched off.
    static QByteArray defaultText(const QString& timeZoneID);

    friend bool operator==(const MCPConfigFile&, const MCPConfigFile&) = default;
};

} // namespace nolvea
