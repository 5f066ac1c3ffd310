#pragma once

#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"
#include "support/Clock.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace nolvea {

// Loads the configured local model ahead of use with one small chat turn per purpose, at
// most once a minute per purpose. Main thread only.
class Warmup {
public:
    static constexpr Clock::Duration minimumGap{60'000};

    static Warmup& shared();

    // The clean-up prompt and examples, when clean-up is on.
    void cleanup();
    // The agent's prompt and tools, when the agent is on. The agent's messages are not part of
    // this build yet, so nothing is sent.
    void agent();
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

    QHash<QString, Clock::Duration> m_lastRun; // by key, on the monotonic clock
    QSet<QString> m_running;
};

} // namespace nolvea
