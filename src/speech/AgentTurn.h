#pragma once

#include "agent/AgentTool.h"
#include "agent/Conversation.h"
#include "ai/LLMClient.h"
#include "core/HistoryEntry.h"
#include "support/CancelToken.h"
#include "support/Clock.h"
#include "system/ScreenContext.h"

#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>

namespace nolvea {

class AgentUI;
class AppState;

// One agent turn over the conversation so far: the request goes to the agent with the
// conversation's memory, the result is logged, remembered and recorded. Keeps the
// conversation and the window in which a question asked by the agent awaits its reply.
class AgentTurn {
public:
    static constexpr Clock::Duration awaitingReplyWindow{90'000};

    struct Services {
        std::function<LLMClient()> client;
        std::function<std::vector<AgentTool>(const ScreenContext&)> tools;
        std::function<void(const QString& line)> log;
        std::function<void(const HistoryEntry&)> record;
    };

    // How a turn ended; the answer cleaned for display, the summary as the agent gave it.
    struct Result {
        enum class Kind { cancelled, answer, done };
        Kind kind;
        QString text;
    };

    AgentTurn(AppState& state, Clock& clock, Services services);
    ~AgentTurn();

    // Runs `request` with `host` answering the agent's questions. Throws what the agent
    // throws, and `Cancelled` once `token` fired.
    QCoro::Task<Result> run(QString request, ScreenContext context, bool confirmActions,
                            AgentUI& host, CancelToken token);

    // Marks a question of the agent as waiting for its reply, for a limited window.
    void setAwaitingReply(bool on);
    // Forgets the conversation.
    void newConversation();
    const Conversation& conversation() const { return m_conversation; }

    // The result line of a finished action: the summary, cut to 46 characters and "…" from
    // 49 on.
    static QString status(const QString& summary);

private:
    AppState& m_state;
    Clock& m_clock;
    Services m_services;
    Conversation m_conversation;
    std::unique_ptr<ClockTimer> m_awaitingReplyTask;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace nolvea
