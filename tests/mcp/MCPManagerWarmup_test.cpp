// The agent's warm-up follows the tools of the shared manager's servers.
#include "agent/NativeTools.h"
#include "ai/Warmup.h"
#include "core/AppSettings.h"
#include "mcp/MCPManager.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"

#include "ai/WarmupModel.h"
#include "mcp/MCPTestServers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace nolvea {
namespace {

class MCPWarmupTest : public test::WarmupModel {
protected:
    void SetUp() override {
        WarmupModel::SetUp();
        AppSettings::shared().setAgentEnabled(true);
    }
    void TearDown() override {
        writeServers({});
        MCPManager::shared().reload();
        settle();
        WarmupModel::TearDown();
    }

    static void writeServers(const QString& members) {
        const QString path = MCPManager::shared().configPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QStringLiteral(R"({"mcpServers":{%1}})").arg(members).toUtf8());
    }
    static void startScriptedServer() {
        writeServers(QStringLiteral(R"("roteiro":{"command":"node","args":[%1,"normal"]})")
                         .arg(JSONValue(test::scriptedServer()).compactString()));
        MCPManager::shared().reload();
    }
    static bool serverRunning() {
        return test::spinUntil([] {
            const auto* s = MCPManager::shared().server(QStringLiteral("roteiro"));
            return s && s->state.kind == MCPManager::ServerState::Kind::running;
        });
    }
    static void settle() {
        test::spinUntil([] { return !Warmup::shared().isRunning(QStringLiteral("agent")); }, 5000);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    bool warmupsReach(int n) const {
        return test::spinUntil([&] { return warmups() >= n; });
    }
    // The names of the tools the n-th warm-up offered.
    QStringList toolNames(int n) const {
        const JSONValue sent = body(n);
        QStringList names;
        for (const JSONValue& tool : sent["tools"].value_or(JSONValue()).asArray())
            names << tool["function"]
                         .value_or(JSONValue())["name"]
                         .value_or(JSONValue())
                         .asString()
                         .value_or(QString());
        return names;
    }
    static QStringList nativeNames() {
        QStringList names;
        for (const AgentTool& tool : NativeTools::all(ScreenContext::empty()))
            names << tool.name;
        return names;
    }
};

const QStringList kServerTools{"mcp_roteiro_a-tool", "mcp_roteiro_b-tool"};

TEST_F(MCPWarmupTest, AServerThatStartsWarmsTheAgentAgainWithinTheMinute) {
    Warmup::shared().agent();
    ASSERT_TRUE(warmupsReach(1));
    settle();
    EXPECT_EQ(toolNames(0), nativeNames());

    startScriptedServer();
    ASSERT_TRUE(serverRunning());
    ASSERT_TRUE(warmupsReach(2)) << "the new tools are warmed at once, no minute waited";
    EXPECT_EQ(toolNames(1), nativeNames() + kServerTools);
    settle();

    // What was warmed is remembered again.
    Warmup::shared().agent();
    settle();
    EXPECT_EQ(warmups(), 2);
}

TEST_F(MCPWarmupTest, AWarmupUnderWayWhenToolsChangeIsFollowedByOneWithTheNewTools) {
    m_server.enqueue("POST", QStringLiteral("/v1/chat/completions"), [] {
        test::HttpResponse r = test::HttpResponse::json(
            R"({"choices":[{"message":{"role":"assistant","content":"oi"}}]})");
        r.delayMs = 3000; // long enough for the server to start meanwhile
        return r;
    }());
    Warmup::shared().agent();
    ASSERT_TRUE(warmupsReach(1));
    startScriptedServer();
    ASSERT_TRUE(serverRunning());
    ASSERT_TRUE(Warmup::shared().isRunning(QStringLiteral("agent")))
        << "the first warm-up must still be under way for this case";
    EXPECT_EQ(warmups(), 1);

    ASSERT_TRUE(warmupsReach(2));
    EXPECT_EQ(toolNames(1), nativeNames() + kServerTools);
    settle();
    EXPECT_EQ(warmups(), 2);
}

TEST_F(MCPWarmupTest, WithTheAgentOffAStartingServerWarmsNothing) {
    AppSettings::shared().setAgentEnabled(false);
    startScriptedServer();
    ASSERT_TRUE(serverRunning());
    settle();
    EXPECT_EQ(warmups(), 0);
}

} // namespace
} // namespace nolvea
