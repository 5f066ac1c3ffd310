#pragma once

#include "support/json/JSONValue.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea {

// One server entry of mcp.json. Absent optional fields stay out of the file.
struct MCPServerConfig {
    QString command;
    std::optional<QStringList> args;
    std::optional<QMap<QString, QString>> env;
    std::optional<bool> disabled;

    // Off only when "disabled" is true.
    bool isDisabled() const { return disabled.value_or(false); }

    JSONValue toJSON() const;
    // Nothing, with the reason in `error`, when the entry is not a valid server.
    static std::optional<MCPServerConfig> fromJSON(const QString& name, const JSONValue& value,
                                                   QString* error);

    friend bool operator==(const MCPServerConfig&, const MCPServerConfig&) = default;
};

} // namespace nolvea
