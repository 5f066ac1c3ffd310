#pragma once

#include "mcp/MCPError.h"
#include "support/json/JSONValue.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

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
    // The entry, or an invalid-configuration error naming the server and what is wrong.
    static std::variant<MCPServerConfig, MCPError> fromJSON(const QString& name,
                                                            const JSONValue& value);

    friend bool operator==(const MCPServerConfig&, const MCPServerConfig&) = default;
};

} // namespace nolvea
