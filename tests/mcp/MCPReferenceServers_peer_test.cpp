// The MCP client and manager against the reference servers from npm, run for real.
#include "agent/MCPAgentTools.h"
#include "mcp/MCPClient.h"
#include "mcp/MCPError.h"
#include "mcp/MCPManager.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"

#include "mcp/MCPTestServers.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <gtest/gtest.h>

namespace nolvea {
namespace {

JSONValue json(const QString& text) {
    auto v = JSONValue::parse(text);
    EXPECT_TRUE(v) << text.toStdString();
    return v.value_or(JSONValue());
}

std::shared_ptr<MCPClient> reference(const QString& server, QStringList args = {},
                                     QMap<QString, QString> env = {}) {
    args.prepend(test::referenceServer(server));
    return MCPClient::create(server, QStringLiteral("node"), args, std::move(env));
}

const MCPToolInfo* find(const std::vector<MCPToolInfo>& tools, const QString& name) {
    for (const auto& t : tools)
        if (t.name == name) return &t;
    return nullptr;
}

class Everything : public ::testing::Test {
protected:
    void SetUp() override {
        client = reference("everything", {}, {{"NOLVEA_MARCA", "sim"}});
        test::await(client->start());
    }
    void TearDown() override { client->stop(); }
    std::shared_ptr<MCPClient> client;
};

TEST_F(Everything, ListsAndCallsToolsWithTextImageAndErrorResults) {
    const auto tools = test::await(client->listTools());
    const MCPToolInfo* echo = find(tools, "echo");
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->title, QStringLiteral("Echo Tool"));
    EXPECT_TRUE(echo->readOnly);
    EXPECT_EQ(echo->inputSchema[QStringLiteral("type")], JSONValue("object"));
    EXPECT_TRUE(find(tools, "get-tiny-image"));

    EXPECT_EQ(test::await(client->callTool("echo", json(R"({"message":"olá, mundo"})"))),
              "Echo: olá, mundo");
    EXPECT_TRUE(test::await(client->callTool("get-tiny-image", json("{}"))).contains("[imagem]"));
    const MCPError unknown = test::failureOf(client->callTool("nao-existe", json("{}")));
    EXPECT_EQ(unknown.kind(), MCPError::Kind::server);
    EXPECT_TRUE(unknown.message().contains("nao-existe")) << unknown.message().toStdString();
    EXPECT_EQ(test::failureOf(client->callTool("echo", json(R"({"message":5})"))).kind(),
              MCPError::Kind::server);
}

TEST_F(Everything, TheChildSeesThePathAndTheConfiguredVariables) {
    const JSONValue env = json(test::await(client->callTool("get-env", json("{}"))));
    EXPECT_EQ(env[QStringLiteral("NOLVEA_MARCA")], JSONValue("sim"));
    const QString path =
        env[QStringLiteral("PATH")].value_or(JSONValue()).stringValue().value_or("");
    EXPECT_TRUE(path.startsWith(QDir::homePath() + "/.local/bin:/opt/homebrew/bin:/usr/local/bin:"))
        << path.toStdString();
}

TEST_F(Everything, MessagesLargerThanAPipeBufferGoBothWays) {
    const QString big(300000, u'é');
    const QString text = test::await(
        client->callTool("echo", JSONValue::object({{QStringLiteral("message"), big}})));
    EXPECT_EQ(text,
              QStringLiteral("Echo: ") + QString(7994, u'é') + QStringLiteral("\n…(cortado)"));
}

TEST_F(Everything, AServerKilledDuringACallFailsItAtOnce) {
    auto waiting =
        client->callTool("trigger-long-running-operation", json(R"({"duration":600,"steps":1})"));
    auto second =
        client->callTool("trigger-long-running-operation", json(R"({"duration":600,"steps":1})"));
    ASSERT_GT(client->processId(), 0);
    ::kill(pid_t(client->processId()), SIGKILL);
    EXPECT_EQ(test::failureOf(std::move(waiting)).kind(), MCPError::Kind::notRunning);
    EXPECT_EQ(test::failureOf(std::move(second)).kind(), MCPError::Kind::notRunning);
    EXPECT_EQ(test::failureOf(client->callTool("echo", json(R"({"message":"x"})"))).kind(),
              MCPError::Kind::notRunning);
}

TEST(EverythingTimed, ACallWithoutAnswerTimesOutAndTheClientGoesOn) {
    ManualClock clock;
    Clock::install(&clock);
    auto client = reference("everything");
    auto starting = client->start();
    ASSERT_TRUE(test::spinUntil([&] { return starting.isReady(); }, 60000));
    test::await(std::move(starting));
    auto slow =
        client->callTool("trigger-long-running-operation", json(R"({"duration":600,"steps":1})"));
    clock.advance(MCPClient::callTimeout);
    EXPECT_EQ(test::failureOf(std::move(slow)).message(),
              "Servidor MCP não respondeu (tools/call).");
    EXPECT_EQ(test::await(client->callTool("echo", json(R"({"message":"ainda"})"))), "Echo: ainda");
    client->stop();
    Clock::install(nullptr);
}

TEST(Filesystem, WorksInsideTheHomeFolderGivenWithATilde) {
    QDir().mkpath(test::home() + "/area");
    auto client = reference("filesystem", {"~/area"});
    test::await(client->start());
    const auto tools = test::await(client->listTools());
    ASSERT_TRUE(find(tools, "write_file"));
    EXPECT_FALSE(find(tools, "write_file")->readOnly);
    EXPECT_TRUE(test::await(client->callTool("list_allowed_directories", json("{}")))
                    .contains(QDir(test::home() + "/area").canonicalPath()));

    const QString file = test::home() + "/area/nota.txt";
    test::await(client->callTool(
        "write_file", JSONValue::object({{QStringLiteral("path"), file},
                                         {QStringLiteral("content"), "linha um\nlinha dois"}})));
    EXPECT_EQ(test::await(client->callTool("read_text_file",
                                           JSONValue::object({{QStringLiteral("path"), file}}))),
              "linha um\nlinha dois");
    const MCPError missing = test::failureOf(client->callTool(
        "read_text_file",
        JSONValue::object({{QStringLiteral("path"), test::home() + "/area/sumiu.txt"}})));
    EXPECT_EQ(missing.kind(), MCPError::Kind::server);
    EXPECT_FALSE(missing.message().isEmpty());
    // What it says on standard error is kept for messages, and nothing else is disturbed.
    EXPECT_TRUE(test::spinUntil([&] { return client->stderrTail().contains("running on stdio"); }));
    client->stop();
}

TEST(Memory, KeepsWhatItIsToldInItsOwnFile) {
    const QString memory = test::home() + "/memoria.jsonl";
    auto client = reference("memory", {}, {{"MEMORY_FILE_PATH", memory}});
    test::await(client->start());
    test::await(client->callTool(
        "create_entities",
        json(R"({"entities":[{"name":"Nolvea","entityType":"app","observations":["fala"]}]})")));
    EXPECT_TRUE(test::await(client->callTool("read_graph", json("{}"))).contains("Nolvea"));
    EXPECT_TRUE(test::await(client->callTool("search_nodes", json(R"({"query":"fala"})")))
                    .contains("Nolvea"));
    client->stop();
    EXPECT_TRUE(QFile::exists(memory));
}

TEST(ManagerWithReferenceServers, StartsEnabledServersAndOffersTheirTools) {
    const QString path = test::home() + "/dados/mcp.json";
    QDir().mkpath(test::home() + "/dados");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral(
                R"({"mcpServers":{"everything":{"command":"node","args":[%1]},)"
                R"("memoria":{"command":"node","args":[%2],"env":{"MEMORY_FILE_PATH":%3}}}})")
                .arg(JSONValue(test::referenceServer("everything")).compactString(),
                     JSONValue(test::referenceServer("memory")).compactString(),
                     JSONValue(test::home() + "/m.jsonl").compactString())
                .toUtf8());
    f.close();
    MCPManager manager(path);
    manager.reload();
    ASSERT_TRUE(test::spinUntil(
        [&] {
            for (const auto& s : manager.servers())
                if (s.state.kind == MCPManager::ServerState::Kind::starting) return false;
            return true;
        },
        60000));
    for (const auto& s : manager.servers())
        EXPECT_EQ(s.state, MCPManager::ServerState::running()) << s.state.message.toStdString();
    const auto tools = mcpAgentTools(manager);
    const AgentTool* echo = nullptr;
    for (const auto& t : tools)
        if (t.name == "mcp_everything_echo") echo = &t;
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->kind, AgentTool::Kind::read);
    EXPECT_EQ(tools.back().group, "MCP · memoria");
    EXPECT_EQ(test::await(echo->run(json(R"({"message":"oi"})"))), "Echo: oi");
    manager.stopAll();
}

} // namespace
} // namespace nolvea
