#include "ai/IdleUnloader.h"

#include "ai/Vornel.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/Printers.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace nolvea {
namespace {

using namespace std::chrono_literals;

class VornelBaselineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&m_clock);
        m_server.on("POST", QStringLiteral("/api/generate"), test::HttpResponse::json("{}"));
        m_client = {
            AIProvider::ollama, m_server.url(QStringLiteral("/v1")), QStringLiteral("qwen3"), {}};
    }
    void TearDown() override {
        while (unloader().inFlight() > 0)
            unloader().end();
        Clock::install(nullptr);
    }
    static IdleUnloader& unloader() { return IdleUnloader::shared(); }
    int unloads() const { return m_server.count(QStringLiteral("/api/generate")); }
    void settle() { QCoreApplication::processEvents(QEventLoop::AllEvents, 100); }

    ManualClock m_clock;
    test::LoopbackServer m_server;
    LLMClient m_client;
};

TEST_F(VornelBaselineTest, VornelRequestNotesTheServersCount) {
    // The server reports work in progress, so nothing here ever stops a server.
    m_server.on(
        "GET", QStringLiteral("/status"),
        test::HttpResponse::json(R"({"requests":{"submitted":5},"frontend":{"active":1}})"));
    const QString bin = test::home() + QStringLiteral("/.local/bin");
    QDir().mkpath(bin);
    QFile fake(bin + QStringLiteral("/vornel-m1"));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("#!/bin/sh\nexit 0\n");
    fake.close();
    fake.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const LLMClient vornel{
        AIProvider::custom, m_server.url(QStringLiteral("/v1")), QStringLiteral("vornel-qwen"), {}};
    ASSERT_TRUE(Vornel::matches(vornel));
    unloader().begin(vornel);
    EXPECT_TRUE(test::spinUntil([] { return Vornel::shared().baseline() == 5; }, 5000));
}

} // namespace
} // namespace nolvea
