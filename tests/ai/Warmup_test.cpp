#include "ai/Warmup.h"

#include "ai/TextCleaner.h"
#include "core/AppSettings.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace nolvea {
namespace {

using namespace std::chrono_literals;

class WarmupTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&m_clock);
        m_server.on("POST", QStringLiteral("/v1/chat/completions"),
                    test::HttpResponse::json(
                        R"({"choices":[{"message":{"role":"assistant","content":"oi"}}]})"));
        AppSettings& settings = AppSettings::shared();
        settings.setAiProvider(AIProvider::ollama);
        settings.setServerURL(m_server.url());
        settings.setModel(QStringLiteral("qwen3"));
        settings.setAiCleanupEnabled(true);
        Warmup::shared().resetLastRun();
    }
    void TearDown() override { Clock::install(nullptr); }

    int warmups() const { return m_server.count(QStringLiteral("/v1/chat/completions")); }
    // Lets a warm-up that was (or was not) started reach the server and finish.
    void settle() {
        test::spinUntil([] { return !Warmup::shared().isRunning(QStringLiteral("cleanup")); },
                        5000);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    ManualClock m_clock;
    test::LoopbackServer m_server;
};

TEST_F(WarmupTest, RunningWarmupIsNotSentTwice) {
    m_server.on("POST", QStringLiteral("/v1/chat/completions"), [] {
        test::HttpResponse r = test::HttpResponse::json("{}");
        r.delayMs = 1500;
        return r;
    }());
    Warmup::shared().cleanup();
    ASSERT_TRUE(
        test::spinUntil([] { return Warmup::shared().isRunning(QStringLiteral("cleanup")); }));
    m_clock.advance(61s);
    Warmup::shared().cleanup();
    settle();
    EXPECT_EQ(warmups(), 1);
}

} // namespace
} // namespace nolvea
