#include "ai/LLMClient.h"
#include "ai/Vornel.h"
#include "app/Console.h"
#include "app/SelfTest.h"
#include "app/Stopwatch.h"
#include "support/Clock.h"
#include "support/Error.h"

namespace nolvea {

namespace {

// Longer than the minute after which a local server's model is unloaded.
constexpr int kIdleSeconds = 100;

// One tiny request; false when it failed.
QCoro::Task<bool> ask(LLMClient client, QString label) {
    const Stopwatch clock;
    const ChatMessage probe =
        ChatMessage::ofText(QString::fromUtf8("user"), QString::fromUtf8("Responda só: ok"));
    try {
        std::vector<ChatMessage> messages(1, probe);
        const ChatMessage reply =
            co_await client.chat(std::move(messages), std::nullopt, 0, 8, 120);
        Console::line(label + QString::fromUtf8(": ") + Console::seconds(clock.seconds(), 1) +
                      QString::fromUtf8(" s → ") + reply.text());
        co_return true;
    } catch (const std::exception& e) {
        Console::line(label + QString::fromUtf8(": erro: ") + describe(e));
        co_return false;
    }
}

} // namespace

QCoro::Task<bool> SelfTest::idle() {
    const LLMClient client = LLMClient::fromSettings();
    Console::line(QString::fromUtf8("Provedor: ") + client.provider.label() +
                  QString::fromUtf8(" · ") + client.model +
                  (Vornel::matches(client) ? QString::fromUtf8(" (Vornel)") : QString()));
    bool passed = co_await ask(client, QString::fromUtf8("1º pedido"));
    Console::line(QString::fromUtf8("Esperando %1 s sem uso…").arg(kIdleSeconds));
    try {
        co_await Clock::shared().sleep(std::chrono::seconds(kIdleSeconds));
    } catch (const Cancelled&) {
    }
    const QString prefix = QString::fromUtf8("Depois do minuto: servidor ");
    try {
        const QStringList models = co_await client.listModels();
        Console::line(prefix + QString::fromUtf8("respondendo: ") +
                      models.join(QString::fromUtf8(", ")));
    } catch (const std::exception&) {
        Console::line(prefix + QString::fromUtf8("desligado/sem modelo"));
    }
    passed = co_await ask(client, QString::fromUtf8("2º pedido")) && passed;
    co_return passed;
}

} // namespace nolvea
