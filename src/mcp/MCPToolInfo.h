#pragma once

#include "support/json/JSONValue.h"

#include <QString>

#include <optional>

namespace nolvea {

// One tool as an MCP server lists it.
struct MCPToolInfo {
    QString name;
    std::optional<QString> title;
    QString description;
    JSONValue inputSchema;
    bool readOnly = false;

    friend bool operator==(const MCPToolInfo&, const MCPToolInfo&) = default;
};

} // namespace nolvea
