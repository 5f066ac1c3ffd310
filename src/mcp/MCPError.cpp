#include "mcp/MCPError.h"

namespace nolvea {

QString MCPError::message() const {
    switch (m_kind) {
    case Kind::timeout:
        return QStringLiteral("Servidor MCP não respondeu (%1).").arg(m_payload);
    case Kind::server:
    case Kind::protocol:
        return m_payload;
    case Kind::launch:
        return QStringLiteral("Não foi possível iniciar: ") + m_payload;
    case Kind::invalidConfig:
        return QStringLiteral("mcp.json inválido: ") + m_payload;
    case Kind::unsaved:
        return QStringLiteral("Não foi possível salvar mcp.json.");
    case Kind::notRunning:
        break;
    }
    return QStringLiteral("Servidor MCP não está rodando.");
}

} // namespace nolvea
