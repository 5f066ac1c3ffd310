#include "ai/Warmup.h"

#include "ai/LLMClient.h"
#include "ai/TextCleaner.h"
#include "ai/Vornel.h"
#include "core/AppSettings.h"
#include "support/Detached.h"

namespace nolvea {

Warmup& Warmup::shared() {
    static Warmup warmup;
    return warmup;
}

void Warmup::cleanup() {
    if (!AppSettings::shared().aiCleanupEnabled()) return;
    std::vector<ChatMessage> messages = TextCleaner::fixedMessages();
    messages.insert(messages.end(), TextCleaner::examples().begin(), TextCleaner::examples().end());
    messages.push_back(ChatMessage::ofText(QStringLiteral("user"),
                                           QStringLiteral("<transcricao>oi</transcricao>")));
    run(QStringLiteral("cleanup"), std::move(messages));
}

namespace {
const QString kAgent = QStringLiteral("agent");
} // namespace

void Warmup::agent() {
    if (!AppSettings::shared().agentEnabled() || !m_agentTurn) return;
    AgentTurn turn = m_agentTurn();
    turn.prompt.push_back(ChatMessage::ofText(QStringLiteral("user"), QStringLiteral("oi")));
    run(kAgent, std::move(turn.prompt), std::move(turn.tools));
}

void Warmup::agentToolsChanged() {
    m_lastRun.remove(kAgent);
    if (m_running.contains(kAgent))
        m_again.insert(kAgent);
    else
        agent();
}

void Warmup::resetLastRun() {
    m_lastRun.clear();
    m_again.clear();
}

void Warmup::run(const QString& key, std::vector<ChatMessage> messages,
                 std::optional<std::vector<ToolSpec>> tools) {
    const LLMClient client = LLMClient::fromSettings();
    if (!client.provider.isLocal() && !Vornel::matches(client)) return;
    if (m_running.contains(key)) return;
    const Clock::Duration now = Clock::shared().uptime();
    if (auto last = m_lastRun.find(key); last != m_lastRun.end() && now - *last < minimumGap)
        return;
    m_lastRun.insert(key, now);
    m_running.insert(key);
    detach(send(key, std::move(messages), std::move(tools)), QStringLiteral("Aquecimento"));
}

QCoro::Task<> Warmup::send(QString key, std::vector<ChatMessage> messages,
                           std::optional<std::vector<ToolSpec>> tools) {
    try {
        co_await LLMClient::fromSettings().chat(std::move(messages), std::move(tools), 0.0, 1,
                                                120.0);
    } catch (...) {
        // A warm-up that fails costs nothing: the real request reports the problem.
    }
    m_running.remove(key);
    if (m_again.remove(key)) {
        m_lastRun.remove(key);
        if (key == kAgent) agent();
    }
}

} // namespace nolvea
