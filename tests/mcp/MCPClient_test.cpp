// The MCP client against a scripted server of our own, which misbehaves on request.
#include "mcp/MCPClient.h"
#include "mcp/MCPError.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"

#include "mcp/MCPTestServers.h"

#include <gtest/gtest.h>

namespace nolvea {
namespace {

JSONValue json(const char* text) {
    auto v = JSONValue::parse(QString::fromUtf8(text));
    EXPECT_TRUE(v.has_value()) << text;
    return v.value_or(JSONValue());
}

// The error a finished task threw, as an MCPError.
class ScriptedServer : public ::testing::Test {
protected:
    void startWith(const QString& scenario, QMap<QString, QString> env = {}) {
        client = test::scriptedClient(scenario, std::move(env));
        test::await(client->start());
    }
    void SetUp() override { startWith(QStringLiteral("normal")); }
    void TearDown() override {
        if (client) client->stop();
    }

    QString call(const QString& tool, const char* arguments = "{}") {
        return test::await(client->callTool(tool, json(arguments)));
    }
    // A tools/call whose reply is written verbatim by the server ($ID: this call's id).
    JSONValue raw(const QStringList& lines) {
        JSONValue::Array list;
        for (const QString& l : lines)
            list.emplace_back(l);
        return test::await(client->request(
            QStringLiteral("tools/call"),
            JSONValue::object({{QStringLiteral("name"), "raw"},
                               {QStringLiteral("arguments"),
                                JSONValue::object({{QStringLiteral("lines"), JSONValue(list)}})}}),
            MCPClient::callTimeout));
    }

    std::shared_ptr<MCPClient> client;
};

TEST_F(ScriptedServer, HandshakeSendsVersionAndClientInfoThenTheInitializedNotice) {
    const JSONValue seen = json(call(QStringLiteral("handshake")).toUtf8().constData());
    const JSONValue init = *seen[QStringLiteral("initialize")];
    EXPECT_EQ(init[QStringLiteral("id")], JSONValue::number(1));
    EXPECT_EQ(init[QStringLiteral("jsonrpc")], JSONValue("2.0"));
    EXPECT_EQ(init[QStringLiteral("params")],
              json(R"({"protocolVersion":"2025-06-18","capabilities":{},)"
                   R"("clientInfo":{"name":"Nolvea","version":"1.0"}})"));
    EXPECT_EQ(seen[QStringLiteral("initialized")], JSONValue(true));
}

TEST_F(ScriptedServer, ToolListSkipsWhatIsNotAToolAndFillsTheDefaults) {
    const auto tools = test::await(client->listTools());
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0].name, "b-tool");
    EXPECT_EQ(tools[0].title, QStringLiteral("B"));
    EXPECT_EQ(tools[0].description, "second");
    EXPECT_TRUE(tools[0].readOnly);
    EXPECT_EQ(tools[0].inputSchema,
              json(R"({"type":"object","properties":{"x":{"type":"string"}}})"));
    EXPECT_EQ(tools[1].name, "a-tool");
    EXPECT_EQ(tools[1].title, QStringLiteral("Annotated title"));
    EXPECT_EQ(tools[1].description, "");
    EXPECT_FALSE(tools[1].readOnly) << "a hint that is not a JSON boolean counts as false";
    EXPECT_EQ(tools[1].inputSchema, json(R"({"type":"object","properties":{},"required":[]})"));
}

TEST(MCPClientPaging, FollowsCursorsInOrder) {
    auto client = test::scriptedClient(QStringLiteral("paged"));
    test::await(client->start());
    const auto tools = test::await(client->listTools());
    ASSERT_EQ(tools.size(), 3u);
    EXPECT_EQ(tools[0].name, "tool-1");
    EXPECT_EQ(tools[2].name, "tool-3");
    client->stop();
}

TEST(MCPClientPaging, AServerThatPagesForeverFailsOnlyItsClient) {
    for (const char* scenario : {"endless", "loop"}) {
        SCOPED_TRACE(scenario);
        auto client = test::scriptedClient(QString::fromUtf8(scenario));
        test::await(client->start());
        const MCPError e = test::failureOf(client->listTools());
        EXPECT_EQ(e.kind(), MCPError::Kind::protocol);
        EXPECT_EQ(e.message(), "Servidor MCP não terminou a lista de ferramentas.");
        EXPECT_FALSE(client->isRunning());
        EXPECT_EQ(test::failureOf(client->callTool("result", {})).kind(),
                  MCPError::Kind::notRunning);
    }
}

TEST(MCPClientToolResult, FlattensContentToText) {
    const QString long8001(8001, u'x');
    const struct {
        const char* result;
        QString text;
    } cases[] = {
        {R"({"content":[{"type":"text","text":"um"},{"type":"image","data":"AA=="},)"
         R"({"type":"text","text":"dois"}]})",
         QStringLiteral("um\n[imagem]\ndois")},
        {R"({"content":[{"type":"resource","resource":{"uri":"x","text":"corpo"}},)"
         R"({"type":"resource","resource":{"uri":"y","blob":"AA=="}},{"type":"audio"},)"
         R"({"type":"text"},{"text":"sem tipo"}]})",
         QStringLiteral("corpo")},
        {R"({"content":[],"structuredContent":{"b":1,"a":"/"}})", R"({"a":"/","b":1})"},
        {R"({"content":"not a list","structuredContent":[true]})", "[true]"},
        {R"({})", "OK"},
        {R"(null)", "OK"},
        {R"({"content":[{"type":"text","text":42}]})", "42"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(MCPClient::flattenToolResult(json(c.result)), c.text);
    }
    const JSONValue big = JSONValue::object(
        {{QStringLiteral("content"),
          JSONValue::array({JSONValue::object(
              {{QStringLiteral("type"), "text"}, {QStringLiteral("text"), long8001}})})}});
    EXPECT_EQ(MCPClient::flattenToolResult(big),
              QString(8000, u'x') + QStringLiteral("\n…(cortado)"));
}

TEST(MCPClientToolResult, IsErrorFailsWithTheTextOrAFixedMessage) {
    const struct {
        const char* result;
        const char* message;
    } cases[] = {
        {R"({"isError":true})", "Erro na ferramenta."},
        {R"({"isError":true,"content":[{"type":"text","text":"arquivo sumiu"}]})", "arquivo sumiu"},
    };
    for (const auto& c : cases) {
        try {
            MCPClient::flattenToolResult(json(c.result));
            ADD_FAILURE() << c.result;
        } catch (const MCPError& e) {
            EXPECT_EQ(e.kind(), MCPError::Kind::server);
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
    EXPECT_EQ(MCPClient::flattenToolResult(json(R"({"isError":"true"})")), "OK")
        << "only the JSON value true is an error";
}

TEST_F(ScriptedServer, ToolResultsTravelThroughTheWire) {
    EXPECT_EQ(call("result", R"({"result":{"content":[{"type":"text","text":"olá"}]}})"), "olá");
    const MCPError e =
        test::failureOf(client->callTool("result", json(R"({"result":{"isError":true}})")));
    EXPECT_EQ(e.message(), "Erro na ferramenta.");
    const MCPError unknown = test::failureOf(client->callTool("no-such-tool", {}));
    EXPECT_EQ(unknown.kind(), MCPError::Kind::server);
    EXPECT_EQ(unknown.message(), "Unknown tool: no-such-tool");
}

TEST_F(ScriptedServer, MalformedLinesAreSkippedAndIdsReadByTheirTextForm) {
    // Noise first, then a reply whose id is a string of digits.
    EXPECT_EQ(raw({"", "não é JSON", "[1,2]", "42", R"({"id":"abc","result":"wrong"})",
                   R"({"jsonrpc":"2.0","id":"$ID","result":"right"})"}),
              JSONValue("right"));
    // A fractional id matches nothing; the real reply follows.
    EXPECT_EQ(raw({R"({"id":$ID.5,"result":"wrong"})", R"({"id":$ID,"result":"right"})"}),
              JSONValue("right"));
    EXPECT_EQ(raw({R"({"jsonrpc":"2.0","id":$ID})"}), JSONValue()) << "no result: JSON null";
    // A notification from the server is no reply.
    EXPECT_EQ(raw({R"({"jsonrpc":"2.0","method":"notifications/message","params":{}})",
                   R"({"id":$ID,"result":1})"}),
              JSONValue::number(1));
}

TEST_F(ScriptedServer, ErrorRepliesFailTheRequestEvenBesideAResult) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {R"({"id":$ID,"error":{"code":1,"message":"quebrou"},"result":{}})", "quebrou"},
        {R"({"id":$ID,"error":{"code":1}})", "Erro do servidor MCP."},
        {R"({"id":$ID,"error":"texto"})", "Erro do servidor MCP."},
        {R"({"id":$ID,"error":{"message":7}})", "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        try {
            raw({QString::fromUtf8(c.line)});
            ADD_FAILURE();
        } catch (const MCPError& e) {
            EXPECT_EQ(e.kind(), MCPError::Kind::server);
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
}

TEST_F(ScriptedServer, RepliesSplitOverChunksOrSharingOneAreEachHandledOnce) {
    EXPECT_EQ(call("chunks", R"({"chunks":["{\"id\":$ID,\"result\":{\"content\":[{\"type\":\"te",)"
                             R"("xt\",\"text\":\"inteiro\"}]}}\n"]})"),
              "inteiro");
    // Two calls; the second one's server writes both replies in one chunk.
    auto first = client->callTool("hang", {});
    auto second = client->callTool(
        "raw", json(R"({"lines":["{\"id\":$PREV,\"result\":{\"content\":[{\"type\":\"text\",)"
                    R"(\"text\":\"primeiro\"}]}}","{\"id\":$ID,\"result\":{}}"]})"));
    EXPECT_EQ(test::await(std::move(second)), "OK");
    EXPECT_EQ(test::await(std::move(first)), "primeiro");
}

TEST(MCPClientBanner, ANonJSONBannerBeforeTheHandshakeIsSkipped) {
    auto client = test::scriptedClient(QStringLiteral("banner"));
    test::await(client->start());
    EXPECT_EQ(test::await(client->listTools()).size(), 2u);
    client->stop();
}

TEST_F(ScriptedServer, ServerRequestsAreAnsweredWithTheirIdAsReceived) {
    const struct {
        const char* arguments;
        const char* answer;
    } cases[] = {
        {R"({"id":"s-1","method":"ping"})", R"({"jsonrpc":"2.0","id":"s-1","result":{}})"},
        {R"({"id":7,"method":"roots/list"})", R"({"jsonrpc":"2.0","id":7,"result":{"roots":[]}})"},
        {R"({"id":8,"method":"sampling/createMessage"})",
         R"({"jsonrpc":"2.0","id":8,"error":{"code":-32601,"message":"Método não suportado"}})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(json(call("ask", c.arguments).toUtf8().constData()), json(c.answer));
    }
}

TEST_F(ScriptedServer, StopFailsAWaitingCallAtOnce) {
    auto waiting = client->callTool("hang", {});
    client->stop();
    const MCPError e = test::failureOf(std::move(waiting));
    EXPECT_EQ(e.kind(), MCPError::Kind::notRunning);
    EXPECT_EQ(e.message(), "Servidor MCP não está rodando.");
    EXPECT_FALSE(client->hasProcess());
    EXPECT_EQ(test::failureOf(client->callTool("result", {})).kind(), MCPError::Kind::notRunning);
}

TEST_F(ScriptedServer, AChildThatExitsFailsItsWaitingCallsAndLaterOnes) {
    auto waiting = client->callTool("hang", {});
    auto exiting = client->callTool("exit", json(R"({"code":4})"));
    EXPECT_EQ(test::failureOf(std::move(waiting)).kind(), MCPError::Kind::notRunning);
    EXPECT_EQ(test::failureOf(std::move(exiting)).kind(), MCPError::Kind::notRunning);
    EXPECT_FALSE(client->isRunning());
    EXPECT_EQ(test::failureOf(client->listTools()).kind(), MCPError::Kind::notRunning);
}

TEST_F(ScriptedServer, ALineThatNeverEndsFailsTheClientNotTheApp) {
    auto waiting = client->callTool("hang", {});
    const MCPError e = test::failureOf(client->callTool(
        "endless-line",
        JSONValue::object({{QStringLiteral("bytes"),
                            JSONValue::number(double(MCPClient::maxLineBytes + (4 << 20)))}})));
    EXPECT_EQ(e.kind(), MCPError::Kind::protocol);
    EXPECT_EQ(e.message(), "Servidor MCP mandou uma mensagem grande demais, sem fim de linha.");
    EXPECT_EQ(test::failureOf(std::move(waiting)).kind(), MCPError::Kind::protocol);
    EXPECT_FALSE(client->isRunning());
}

TEST(MCPClientStderr, TheTailHoldsTheLastSixHundredCharacters) {
    // 1,000 characters, the last 600 of them two bytes long in UTF-8.
    const QString noise = QString(400, u'a') + QString(599, u'ç') + u'\n';
    auto client = test::scriptedClient(QStringLiteral("normal"), {{"NOISE", noise}});
    test::await(client->start());
    ASSERT_TRUE(test::spinUntil([&] { return client->stderrTail().size() >= 600; }));
    EXPECT_EQ(client->stderrTail(), QString(599, u'ç') + u'\n');
    EXPECT_EQ(client->stderrLastLine(), QString(599, u'ç'));
    client->stop();
}

TEST(MCPClientLaunch, ACommandThatDoesNotExistFailsWithTheLaunchersComplaint) {
    auto client = MCPClient::create("nada", "nolvea-no-such-command", {"--x"});
    const MCPError e = test::failureOf(client->start());
    EXPECT_EQ(e.kind(), MCPError::Kind::notRunning);
    EXPECT_TRUE(client->stderrLastLine().contains("nolvea-no-such-command"))
        << client->stderrLastLine().toStdString();
}

TEST(MCPClientLaunch, AStopWhileTheChildStartsLeavesNoChildBehind) {
    auto client = test::scriptedClient();
    auto starting = client->start();
    client->stop();
    EXPECT_EQ(test::failureOf(std::move(starting)).kind(), MCPError::Kind::notRunning);
    EXPECT_FALSE(client->hasProcess());
    EXPECT_EQ(test::failureOf(client->start()).kind(), MCPError::Kind::notRunning)
        << "a stopped client is never started again";
}

TEST(MCPClientLaunch, ChildPathPutsTheUsersToolFoldersFirst) {
    EXPECT_EQ(
        MCPClient::childPath("/h", "/usr/bin:/bin"),
        "/h/.local/bin:/opt/homebrew/bin:/usr/local/bin:/h/.bun/bin:/h/.cargo/bin:/usr/bin:/bin");
    EXPECT_TRUE(
        MCPClient::childPath("/h", "").endsWith(":/h/.cargo/bin:/usr/bin:/bin:/usr/sbin:/sbin"));
}

class TimedServer : public ::testing::Test {
protected:
    void SetUp() override { Clock::install(&clock); }
    void TearDown() override { Clock::install(nullptr); }
    ManualClock clock;
};

TEST_F(TimedServer, AHandshakeWithoutAnswerTimesOutNamingInitialize) {
    auto client = test::scriptedClient(QStringLiteral("silent"));
    auto starting = client->start();
    ASSERT_TRUE(test::spinUntil([&] { return clock.pendingTimers() == 1; }));
    clock.advance(MCPClient::initializeTimeout - std::chrono::seconds(1));
    EXPECT_EQ(clock.pendingTimers(), 1);
    clock.advance(std::chrono::seconds(1));
    const MCPError e = test::failureOf(std::move(starting));
    EXPECT_EQ(e.message(), "Servidor MCP não respondeu (initialize).");
    EXPECT_TRUE(client->isRunning()) << "a failed handshake does not stop the client";
    client->stop();
}

TEST_F(TimedServer, ACallTimesOutAndOnlyItself) {
    auto client = test::scriptedClient();
    auto starting = client->start();
    ASSERT_TRUE(test::spinUntil([&] { return starting.isReady(); }));
    test::await(std::move(starting));
    auto slow = client->callTool("hang", {});
    clock.advance(std::chrono::seconds(60));
    auto later = client->callTool("hang", {});
    clock.advance(std::chrono::seconds(60));
    EXPECT_EQ(test::failureOf(std::move(slow)).message(),
              "Servidor MCP não respondeu (tools/call).");
    EXPECT_FALSE(later.isReady());
    EXPECT_EQ(test::await(client->callTool("result", json(R"({"result":{}})"))), "OK");
    clock.advance(std::chrono::seconds(60));
    EXPECT_EQ(test::failureOf(std::move(later)).kind(), MCPError::Kind::timeout);
    client->stop();
}

} // namespace
} // namespace nolvea
