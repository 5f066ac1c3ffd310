#include "ui/settings/IntegrationsModel.h"

namespace nolvea::IntegrationsModel {

QString stateText(const MCPManager::Server& server) {
    using Kind = MCPManager::ServerState::Kind;
    switch (server.state.kind) {
    case Kind::running:
        return server.tools.size() == 1
                   ? QStringLiteral("Rodando · 1 ferramenta")
                   : QStringLiteral("Rodando · %1 ferramentas").arg(server.tools.size());
    case Kind::starting:
        return QStringLiteral("Iniciando…");
    case Kind::disabled:
        return QStringLiteral("Desligado");
    case Kind::failed:
        break;
    }
    return QStringLiteral("Falhou: ") + server.state.message;
}

QString googleHeader(const MCPManager::Server& server) {
    if (server.state.kind == MCPManager::ServerState::Kind::running)
        return QStringLiteral("Google conectado · ") + QString::number(server.tools.size()) +
               QStringLiteral(" ferramentas");
    return QStringLiteral("Google configurado");
}

} // namespace nolvea::IntegrationsModel
