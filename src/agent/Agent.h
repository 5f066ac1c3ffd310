#pragma once

#include "agent/AgentOutcome.h"
#include "agent/AgentTool.h"
#include "agent/AgentUI.h"
#include "ai/ChatMessage.h"
#include "ai/LLMClient.h"
#include "support/CancelToken.h"
#include "system/ScreenContext.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace nolvea {

// Answers one request by a tool-calling conversation with the model. One instance serves one
// request: the caller sets the fields, runs it once and reads `turnMessages` afterwards.
class Agent {
public:
    LLMClient client;
    ScreenContext context;
    std::vector<AgentTool> tools; // native tools, then the MCP tools
    bool confirmActions = true;
    bool dryRun = false;
    std::function<void(const QString& line)> log;
    static constexpr int maxSteps = 8;
    // After `run` returns or throws: the messages of this turn, from the context message on.
    std::vector<ChatMessage> turnMessages;
    // Cancels the run: noticed after each model reply, before each further model call (and
    // while one is awaited), and when a tool fails with `Cancelled`.
    CancelToken cancel;
    // The names of the running MCP servers, in the manager's order; read when the run starts.
    // When unset, the shared MCP manager is asked.
    std::function<QStringList()> connectedIntegrations;

    // Throws the model client's errors, `Cancelled`, and `ToolError::failed` when an action or
    // light tool fails. Main thread; `ui` must outlive the run.
    QCoro::Task<AgentOutcome> run(QString request, std::vector<ChatMessage> history, bool isReply,
                                  AgentUI& ui);

    // The fixed instructions, shared with the model warm-up.
    static const ChatMessage& systemMessage();

    // What a run offers the model: the native tools for `context`, then the tools of the
    // running MCP servers.
    static std::vector<AgentTool> availableTools(const ScreenContext& context);

    // The context message's text for `request`.
    QString userMessage(const QString& request, bool isReply) const;

    static constexpr double temperature = 0.2;
    static constexpr double modelTimeout = 300;
};

} // namespace nolvea
