// MCP tools offered to the agent as AgentTool records.
#include "agent/MCPAgentTools.h"

#include "agent/ToolError.h"
#include "mcp/MCPError.h"
#include "support/Graphemes.h"

#include <QPointer>

namespace nolvea {

namespace {

const QString kSymbol = QStringLiteral("puzzlepiece.extension.fill");

QString displayTitle(const MCPToolInfo& tool) {
    return tool.title.value_or(tool.name);
}

// A value as one line of a confirmation card.
QString detailText(const JSONValue& v) {
    switch (v.type()) {
    case JSONValue::Type::String:
    case JSONValue::Type::Bool:
    case JSONValue::Type::Number:
        return v.stringValue().value_or(QString());
    default:
        return v.compactString();
    }
}

QCoro::Task<QString> runTool(QPointer<MCPManager> manager, QString server, QString tool,
                             JSONValue arguments) {
    std::shared_ptr<MCPClient> client = manager ? manager->client(server) : nullptr;
    if (!client || !client->hasProcess() || !client->isRunning()) throw MCPError::notRunning();
    std::optional<QString> login;
    try {
        co_return co_await client->callTool(tool, std::move(arguments));
    } catch (const MCPError& e) {
        if (e.kind() != MCPError::Kind::server || !MCPManager::isLoginRequest(e.payload())) throw;
        login = e.payload();
    }
    MCPManager::openLoginPage(*login);
    throw ToolError::needsLogin(QStringLiteral(
        "Abri a página de login do Google no navegador. Autorize o acesso e peça de novo."));
}

AgentTool agentTool(MCPManager& manager, const MCPManager::OfferedTool& offered) {
    const MCPToolInfo& tool = offered.tool;
    AgentTool t;
    t.name = offered.name;
    t.description =
        u'[' + offered.server + QStringLiteral("] ") + Graphemes::first(tool.description, 600);
    t.parameters = tool.inputSchema;
    t.kind = tool.readOnly || MCPManager::looksReadOnly(tool.name) ? AgentTool::Kind::read
                                                                   : AgentTool::Kind::action;
    t.symbol = kSymbol;
    t.progress = displayTitle(tool) + u'…';
    t.group = QStringLiteral("MCP · ") + offered.server;
    t.alwaysConfirm = false;
    const QString title = displayTitle(tool) + QStringLiteral(" · ") + offered.server;
    t.preview = [title](const JSONValue& args) {
        ActionPreview p;
        p.symbol = kSymbol;
        p.title = title;
        int shown = 0;
        for (const auto& [key, value] : args.asObject()) { // sorted by key
            if (shown++ == 4) break;
            p.details << key + QStringLiteral(": ") + Graphemes::first(detailText(value), 120);
        }
        return p;
    };
    t.run = [owner = QPointer<MCPManager>(&manager), server = offered.server, name = tool.name](
                JSONValue args) { return runTool(owner, server, name, std::move(args)); };
    return t;
}

} // namespace

std::vector<AgentTool> mcpAgentTools(MCPManager& manager) {
    std::vector<AgentTool> result;
    for (const MCPManager::OfferedTool& offered : manager.offeredTools())
        result.push_back(agentTool(manager, offered));
    return result;
}

} // namespace nolvea
