#pragma once

#include "mcp/MCPManager.h"

#include <QString>

namespace nolvea::IntegrationsModel {

// The line under a server's name: its state, and the error of a failed one as it came.
QString stateText(const MCPManager::Server& server);
// "Google conectado · 3 ferramentas" or "Google configurado".
QString googleHeader(const MCPManager::Server& server);

} // namespace nolvea::IntegrationsModel
