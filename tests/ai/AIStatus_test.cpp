#include "ai/AIStatus.h"

#include "agent/AgentWarmup.h"
#include "ai/LLMError.h"
#include "ai/Warmup.h"
#include "core/AppSettings.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace nolvea;
using test::HttpResponse;
using test::LoopbackServer;

namespace {

const QByteArray chatReply =
    R"({"choices":[{"message":{"role":"assistant","content":"O teste da Nolvea está funcionando perfeitamente."}}]})";

class AIStatusTest : public ::testing::Test {
protected:
    ManualClock clock;
    LoopbackServer server;
    AppSettings& settings = AppSettings::shared();
    std::unique_ptr<AIStatus> status;

    void SetUp() override {
        Clock::install(&clock);
        Warmup::shared().resetLastRun();
        AgentWarmup::install();
        settings.setAiCleanupEnabled(true);
        settings.setAgentEnabled(true);
        use(AIProvider::lmStudio, server.url(), "qwen");
        server.on("POST", "/v1/chat/completions", HttpResponse::json(chatReply));
        status = std::make_unique<AIStatus>();
    }
    void TearDown() override {
        // The warm-ups a probe started end against this test's server, not the next test's.
        EXPECT_TRUE(test::spinUntil([] {
            return !Warmup::shared().isRunning(QStringLiteral("cleanup")) &&
                   !Warmup::shared().isRunning(QStringLiteral("agent"));
        }));
        status.reset();
        use(AIProvider::lmStudio, "", "");
        Clock::install(nullptr);
    }

    void use(AIProvider provider, const QString& server, const QString& model,
             const QString& key = {}) {
        settings.setAiProvider(provider);
        settings.setServerURL(server);
        settings.setModel(model);
        settings.setApiKey(key);
    }
    void models(const QByteArray& data) {
        server.on("GET", "/v1/models", HttpResponse::json(R"({"data":)" + data + "}"));
    }
    void settle(AIConnection expected) {
        ASSERT_TRUE(test::spinUntil([&] { return status->connection() == expected; }))
            << int(status->connection());
        QCoreApplication::processEvents();
    }
    // Warm-up requests: each warming sends the clean-up's and the agent's.
    int warmups() const { return server.count("/v1/chat/completions"); }
};

TEST_F(AIStatusTest, FirstProbeGoesOnlineSortsModelsAndWarmsUpOnce) {
    EXPECT_EQ(status->connection(), AIConnection::unknown);
    EXPECT_EQ(status->title(), "Verificando IA…");
    models(R"([{"id":"qwen"},{"id":"Alpha"},{"id":"beta"}])");
    status->startMonitoring();
    EXPECT_EQ(status->connection(), AIConnection::checking);
    EXPECT_EQ(status->title(), "Verificando IA…");
    settle(AIConnection::online);
    EXPECT_EQ(status->models(), (QStringList{"Alpha", "beta", "qwen"}));
    EXPECT_EQ(status->title(), "LM Studio conectado");
    EXPECT_FALSE(status->lastError());
    ASSERT_TRUE(test::spinUntil([&] { return warmups() == 2; }));

    // Thirty seconds on: probed again, still online, no second warm-up, no needless signals.
    Warmup::shared().resetLastRun();
    QSignalSpy modelsChanged(status.get(), &AIStatus::modelsChanged);
    QSignalSpy connectionChanged(status.get(), &AIStatus::connectionChanged);
    QSignalSpy finished(status.get(), &AIStatus::checkFinished);
    clock.advance(AIStatus::probeInterval);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(server.count("/v1/models"), 2);
    EXPECT_EQ(status->connection(), AIConnection::online);
    EXPECT_EQ(warmups(), 2);
    EXPECT_EQ(modelsChanged.count(), 0);
    EXPECT_EQ(connectionChanged.count(), 0);
}

TEST_F(AIStatusTest, AFailedProbeWhileOnlineGoesStraightToTheErrorAndBack) {
    models(R"([{"id":"qwen"}])");
    status->refresh();
    settle(AIConnection::online);
    ASSERT_TRUE(test::spinUntil([&] { return warmups() == 2; }));

    HttpResponse slowFailure = HttpResponse::text("sem modelo", 500);
    slowFailure.delayMs = 200;
    server.on("GET", "/v1/models", slowFailure);
    status->refresh();
    EXPECT_EQ(status->connection(), AIConnection::online);
    EXPECT_EQ(status->title(), "LM Studio conectado");
    settle(AIConnection::offline);
    EXPECT_EQ(status->title(), "LM Studio respondeu 500: sem modelo");
    EXPECT_EQ(status->lastError(), "LM Studio respondeu 500: sem modelo");
    EXPECT_TRUE(status->models().isEmpty());

    Warmup::shared().resetLastRun();
    models(R"([{"id":"qwen"}])");
    status->refresh();
    EXPECT_EQ(status->connection(), AIConnection::checking);
    settle(AIConnection::online);
    EXPECT_FALSE(status->lastError());
    EXPECT_TRUE(test::spinUntil([&] { return warmups() == 4; }));
}

TEST_F(AIStatusTest, OfflineTitleNamesAMissingKeyOrTheLastError) {
    use(AIProvider::openAI, server.url("/v1"), "gpt");
    status->refresh();
    settle(AIConnection::offline);
    EXPECT_EQ(status->title(), "Falta a chave do OpenAI");
    EXPECT_EQ(status->lastError(), "Falta a chave de API do OpenAI (Ajustes › IA)");

    use(AIProvider::lmStudio, "http://127.0.0.1:1", "qwen");
    status->refresh();
    settle(AIConnection::checking);
    settle(AIConnection::offline);
    EXPECT_EQ(status->title(), "LM Studio não respondeu");
}

// A probe of the provider the person just left must not decide the new one's status.
TEST_F(AIStatusTest, AStaleProbeOfAnEarlierProviderIsDropped) {
    HttpResponse silent;
    silent.silent = true;
    server.on("GET", "/v1/models", silent);
    status->refresh();
    ASSERT_TRUE(test::spinUntil([&] { return server.count("/v1/models") == 1; }));

    LoopbackServer ollama;
    ollama.on("GET", "/v1/models", HttpResponse::json(R"({"data":[{"id":"llama3"}]})"));
    ollama.on("POST", "/v1/chat/completions", HttpResponse::json(chatReply));
    use(AIProvider::ollama, ollama.url(), "llama3");
    status->refresh();
    settle(AIConnection::online);

    QSignalSpy finished(status.get(), &AIStatus::checkFinished);
    clock.advance(std::chrono::seconds(5)); // the LM Studio probe times out now
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(status->connection(), AIConnection::online);
    EXPECT_EQ(status->models(), QStringList{"llama3"});
    EXPECT_FALSE(status->lastError());
    EXPECT_EQ(status->title(), "Ollama conectado");
    // Ollama's warm-ups end while it still answers.
    EXPECT_TRUE(test::spinUntil([] {
        return !Warmup::shared().isRunning(QStringLiteral("cleanup")) &&
               !Warmup::shared().isRunning(QStringLiteral("agent"));
    }));
}

TEST_F(AIStatusTest, AStoppedVornelIsSleeping) {
    const QString dir = test::home() + "/vornel-status";
    QDir().mkpath(dir);
    QFile exe(dir + "/vornel-m1");
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.close();
    exe.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", (dir + ":").toUtf8() + path);
    use(AIProvider::custom, "http://localhost:1/v1", "Vornel-7B");
    status->refresh();
    settle(AIConnection::sleeping);
    EXPECT_EQ(status->title(), "Vornel em repouso · liga quando você usar");
    qputenv("PATH", path);
}

TEST_F(AIStatusTest, CleanupTestSetsOnlineAndLatencyButNotTheProbeFields) {
    use(AIProvider::openAI, server.url("/v1"), "gpt");
    status->refresh();
    settle(AIConnection::offline);
    const auto error = status->lastError();

    settings.setApiKey("sk");
    EXPECT_EQ(test::await(status->testCleanup()),
              "O teste da Nolvea está funcionando perfeitamente.");
    EXPECT_EQ(status->connection(), AIConnection::online);
    EXPECT_TRUE(status->lastLatency());
    EXPECT_EQ(status->lastError(), error);
    EXPECT_TRUE(status->models().isEmpty());
    const JSONValue body = *JSONValue::parse(server.lastRequest().body);
    EXPECT_TRUE(body["messages"]->asArray().back()["content"]->asString()->contains(
        "<contexto>Grafias corretas de nomes e termos: Nolvea.</contexto>\n<transcricao>"));

    // A failed test changes nothing and hands the error back.
    server.on("POST", "/v1/chat/completions", HttpResponse::json("{}", 401));
    settings.setApiKey("sk-wrong");
    EXPECT_THROW(test::await(status->testCleanup()), LLMError);
    EXPECT_EQ(status->connection(), AIConnection::online);
}

} // namespace
