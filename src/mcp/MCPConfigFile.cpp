#include "mcp/MCPConfigFile.h"

namespace nolvea {

QByteArray MCPConfigFile::encode() const {
    JSONValue::Object servers;
    for (const auto& [name, config] : mcpServers)
        servers.emplace(name, config.toJSON());
    return JSONValue::object({{QStringLiteral("mcpServers"), JSONValue(std::move(servers))}})
        .prettyBytes();
}

std::variant<MCPConfigFile, MCPError> MCPConfigFile::decode(const QByteArray& bytes) {
    const auto fail = [](const QString& why) { return MCPError::invalidConfig(why); };
    const auto root = JSONValue::parse(bytes);
    if (!root) return fail(QStringLiteral("o texto não é JSON válido."));
    if (!root->isObject()) return fail(QStringLiteral("o texto não é um objeto JSON."));
    const auto servers = (*root)[QStringLiteral("mcpServers")];
    if (!servers) return fail(QStringLiteral("falta a chave \"mcpServers\"."));
    if (!servers->isObject()) return fail(QStringLiteral("\"mcpServers\" não é um objeto."));
    MCPConfigFile file;
    for (const auto& [name, value] : servers->asObject()) {
        auto config = MCPServerConfig::fromJSON(name, value);
        if (auto* error = std::get_if<MCPError>(&config)) return std::move(*error);
        file.mcpServers.emplace(name, std::get<MCPServerConfig>(std::move(config)));
    }
    return file;
}

QByteArray MCPConfigFile::defaultText(const QString& timeZoneID) {
    // Written by hand: this order (horario first, command before args) is what people see.
    const QString zone = JSONValue(timeZoneID).compactString();
    return QStringLiteral("{\n"
                          "  \"mcpServers\": {\n"
                          "    \"horario\": {\n"
                          "      \"command\": \"uvx\",\n"
                          "      \"args\": [\"mcp-server-time\", \"--local-timezone\", %1],\n"
                          "      \"disabled\": true\n"
                          "    },\n"
                          "    \"arquivos\": {\n"
                          "      \"command\": \"npx\",\n"
                          "      \"args\": [\"-y\", \"@modelcontextprotocol/server-filesystem\", "
                          "\"~/Documents\"],\n"
                          "      \"disabled\": true\n"
                          "    }\n"
                          "  }\n"
                          "}")
        .arg(zone)
        .toUtf8();
}

} // namespace nolvea
