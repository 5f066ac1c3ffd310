#include "ai/Warmup.h"

#include "ai/LLMClient.h"
#include "ai/TextCleaner.h"
#include "ai/Vornel.h"
#include "core/AppSettings.h"

namespace nolvea {

Warmup& Warmup::shared() {
    static Warmup warmup;
    return warmup;
}

void Warmup::cleanup() {
    if (!AppSettings::shared().aiCleanupEnabled()) return;
    std::vector<ChatMessage> messages = TextCleaner::fixedMessages();
    messages.insert(messages.end(), TextCleaner::examples().begin(), TextCleaner::examples().end());
    ChatMessage hello;
    hello.role = QStringLiteral("user");
    hello.content = MessageContent::text(QStringLiteral("<transcricao>oi</transcricao>"));
    messages.push_back(std::move(hello));
    run(QStringLiteral("cleanup"), std::move(messages));
}

void Warmup::agent() {
    if (!AppSettings::shared().agentEnabled()) return;
}

void Warmup::resetLastRun() {
    m_lastRun.clear();
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
    send(key, std::move(messages), std::move(tools)); // runs on by itself
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
}

} // namespace nolvea
