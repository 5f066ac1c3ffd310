#pragma once

#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"
#include "support/Clock.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace nolvea {

// Loads the configured local model ahead of use with one small chat turn per purpose, at
// most once a minute per purpose. Main thread only.
class Warmup {
public:
    static constexpr Clock::Duration minimumGap{60'000};

    // What the agent sends first: its prompt and the tools it offers.
    struct AgentTurn {
        std::vector<ChatMessage> prompt;
        std::vector<ToolSpec> tools;
    };

    static Warmup& shared();

    // The agent lives above this layer and supplies its turn; without one, `agent()` does
    // nothing.
    void setAgentTurn(std::function<AgentTurn()> turn) { m_agentTurn = std::move(turn); }

    // The clean-up prompt and examples, when clean-up is on.
    void cleanup();
    // The agent's prompt with the native tools (for an empty screen) and the MCP tools, when
    // the agent is on.
    void agent();
    // The tools the model is offered changed: warms the agent again even within the minute.
    // A warm-up still running carried the old tools, so another follows when it ends.
    void agentToolsChanged();
    // Forgets when each purpose last ran (a new provider or model).
    void resetLastRun();

    // Starts one warm-up turn under `key` unless one is running or ran less than a minute ago,
    // and only for a local back-end.
    void run(const QString& key, std::vector<ChatMessage> messages,
             std::optional<std::vector<ToolSpec>> tools = std::nullopt);

    bool isRunning(const QString& key) const { return m_running.contains(key); }

private:
    QCoro::Task<> send(QString key, std::vector<ChatMessage> messages,
                       std::optional<std::vector<ToolSpec>> tools);

    std::function<AgentTurn()> m_agentTurn;
    QHash<QString, Clock::Duration> m_lastRun; // by key, on the monotonic clock
    QSet<QString> m_running;
    QSet<QString> m_again; // running keys whose warm-up is outdated and runs again when done
};

} // namespace nolvea
