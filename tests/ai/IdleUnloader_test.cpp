#include "ai/IdleUnloader.h"
#include "ai/Warmup.h"
#include "core/AppSettings.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/fakes/ManualClock.h"

#include <gtest/gtest.h>

using namespace nolvea;
using test::HttpResponse;

namespace {

class IdleAndWarmup : public ::testing::Test {
protected:
    ManualClock clock;
    test::LoopbackServer server;

    void SetUp() override { Clock::install(&clock); }
    void TearDown() override {
        AppSettings::shared().setAiProvider(AIProvider::lmStudio);
        AppSettings::shared().setAiCleanupEnabled(true);
        Clock::install(nullptr);
    }
};

TEST_F(IdleAndWarmup, ModelsAreUnloadedAMinuteAfterTheLastRequestEnded) {
    server.on("POST", "/api/generate", HttpResponse::json("{}"));
    IdleUnloader& unloader = IdleUnloader::shared();
    const LLMClient a{AIProvider::ollama, server.url("/v1"), "qwen", ""};
    const LLMClient b{AIProvider::ollama, server.url("/v1"), "llama", ""};
    unloader.begin(a);
    unloader.begin(b);
    unloader.begin(a); // same key: recorded once
    unloader.end();
    unloader.end();
    EXPECT_FALSE(unloader.isArmed());
    unloader.end();
    unloader.end(); // never below zero
    EXPECT_EQ(unloader.inFlight(), 0);
    ASSERT_TRUE(unloader.isArmed());

    // A new request calls the pending unload off.
    unloader.begin(a);
    EXPECT_FALSE(unloader.isArmed());
    unloader.end();
    clock.advance(IdleUnloader::idlePeriod - std::chrono::milliseconds(1));
    EXPECT_EQ(server.requests().size(), 0);
    clock.advance(std::chrono::milliseconds(1));
    ASSERT_TRUE(test::spinUntil([&] { return server.count("/api/generate") == 2; }));
    QStringList bodies;
    for (const auto& r : server.requests())
        bodies.append(QString::fromUtf8(r.body));
    bodies.sort();
    EXPECT_EQ(bodies, (QStringList{R"({"keep_alive":0,"model":"llama"})",
                                   R"({"keep_alive":0,"model":"qwen"})"}));
}

TEST_F(IdleAndWarmup, CleanupWarmupRunsOnlyForLocalModelsAtMostOnceAMinute) {
    AppSettings& settings = AppSettings::shared();
    server.on(
        "POST", "/v1/chat/completions",
        HttpResponse::json(R"({"choices":[{"message":{"role":"assistant","content":"Oi."}}]})"));
    settings.setAiProvider(AIProvider::lmStudio);
    settings.setServerURL(server.url());
    settings.setModel("qwen");
    Warmup& warmup = Warmup::shared();
    warmup.resetLastRun();

    warmup.cleanup();
    ASSERT_TRUE(test::spinUntil([&] { return !warmup.isRunning("cleanup"); }));
    ASSERT_EQ(server.count("/v1/chat/completions"), 1);
    const JSONValue body = *JSONValue::parse(server.lastRequest().body);
    EXPECT_EQ(body["messages"]->asArray().size(), 8u);

    warmup.cleanup();
    clock.advance(std::chrono::seconds(59));
    warmup.cleanup();
    EXPECT_EQ(server.count("/v1/chat/completions"), 1);
    clock.advance(std::chrono::seconds(1));
    warmup.cleanup();
    EXPECT_TRUE(test::spinUntil([&] { return server.count("/v1/chat/completions") == 2; }));

    // Off, or a cloud model: nothing is sent.
    warmup.resetLastRun();
    settings.setAiCleanupEnabled(false);
    warmup.cleanup();
    settings.setAiCleanupEnabled(true);
    settings.setAiProvider(AIProvider::custom);
    settings.setServerURL(server.url("/v1"));
    settings.setModel("qwen");
    warmup.cleanup();
    ASSERT_TRUE(test::spinUntil([&] { return !warmup.isRunning("cleanup"); }));
    EXPECT_EQ(server.count("/v1/chat/completions"), 2);
}

} // namespace
