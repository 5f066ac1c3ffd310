#include "ai/Warmup.h"

#include "agent/Agent.h"
#include "agent/NativeTools.h"
#include "ai/TextCleaner.h"
#include "core/AppSettings.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/Printers.h"

#include "ai/WarmupModel.h"

#include <gtest/gtest.h>

namespace nolvea {
namespace {

using namespace std::chrono_literals;

class WarmupTest : public test::WarmupModel {
protected:
    void SetUp() override {
        WarmupModel::SetUp();
        AppSettings::shared().setAiCleanupEnabled(true);
    }
    // Lets a warm-up that was (or was not) started reach the server and finish.
    void settle() {
        test::spinUntil([] { return !Warmup::shared().isRunning(QStringLiteral("cleanup")); },
                        5000);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
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

TEST_F(WarmupTest, AgentWarmupOffersThePromptAndTheNativeToolsOnlyWhenTheAgentIsOn) {
    AppSettings::shared().setAgentEnabled(false);
    Warmup::shared().agent();
    Warmup::shared().agentToolsChanged();
    settle();
    EXPECT_EQ(warmups(), 0);

    AppSettings::shared().setAgentEnabled(true);
    Warmup::shared().agent();
    ASSERT_TRUE(test::spinUntil([&] { return warmups() == 1; }));
    const JSONValue body = lastBody();
    const JSONValue::Array messages = body["messages"].value_or(JSONValue()).asArray();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), Agent::systemMessage().toJSON());

    const JSONValue::Array tools = body["tools"].value_or(JSONValue()).asArray();
    const std::vector<AgentTool> native = NativeTools::all(ScreenContext::empty());
    ASSERT_EQ(tools.size(), native.size());
    for (size_t i = 0; i < native.size(); ++i) {
        EXPECT_EQ(tools[i]["type"]->asString(), "function");
        EXPECT_EQ(tools[i], native[i].spec().toJSON()) << native[i].name.toStdString();
    }
    test::spinUntil([] { return !Warmup::shared().isRunning(QStringLiteral("agent")); }, 5000);

    // The agent and the clean-up keep their own minute.
    Warmup::shared().agent();
    Warmup::shared().cleanup();
    settle();
    EXPECT_EQ(warmups(), 2);
    m_clock.advance(61s);
    Warmup::shared().agent();
    EXPECT_TRUE(test::spinUntil([&] { return warmups() == 3; }));
}

} // namespace
} // namespace nolvea
