#pragma once

#include "agent/AgentWarmup.h"
#include "ai/Warmup.h"
#include "core/AppSettings.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/fakes/ManualClock.h"
#include "support/json/JSONValue.h"

#include <gtest/gtest.h>

namespace nolvea::test {

// A local model on the loopback server that answers every warm-up, chosen in the settings, with
// a manual clock and the warm-up's memory of its last runs cleared.
class WarmupModel : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&m_clock);
        m_server.on(
            "POST", QStringLiteral("/v1/chat/completions"),
            HttpResponse::json(R"({"choices":[{"message":{"role":"assistant","content":"oi"}}]})"));
        AppSettings& settings = AppSettings::shared();
        settings.setAiProvider(AIProvider::ollama);
        settings.setServerURL(m_server.url());
        settings.setModel(QStringLiteral("qwen3"));
        Warmup::shared().resetLastRun();
        AgentWarmup::install();
    }
    void TearDown() override { Clock::install(nullptr); }

    int warmups() const { return m_server.count(QStringLiteral("/v1/chat/completions")); }
    // The body of the n-th warm-up, or of the last.
    JSONValue body(qsizetype n) const {
        return JSONValue::parse(m_server.requests().at(n).body).value_or(JSONValue());
    }
    JSONValue lastBody() const { return body(m_server.requests().size() - 1); }

    ManualClock m_clock;
    LoopbackServer m_server;
};

} // namespace nolvea::test
