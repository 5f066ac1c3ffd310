// MCP tools as the agent sees them: names, kinds, previews and runs.
#include "agent/MCPAgentTools.h"
#include "agent/ToolError.h"
#include "mcp/MCPError.h"
#include "mcp/MCPManager.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "support/Async.h"

#include "mcp/MCPTestServers.h"
#include "support/fakes/FakeLauncher.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace nolvea {
namespace {

MCPToolInfo tool(const QString& name, bool readOnly = false,
                 std::optional<QString> title = std::nullopt, QString description = {}) {
    return MCPToolInfo{name, std::move(title), std::move(description),
                       JSONValue::object({{QStringLiteral("type"), "object"}}), readOnly};
}

// A client that was never started: enough for the tool list, not for running.
std::shared_ptr<MCPClient> idleClient(const QString& name) {
    return MCPClient::create(name, QStringLiteral("true"));
}

class AgentToolsFixture : public ::testing::Test {
protected:
    AgentToolsFixture()
        : manager(test::home() + QStringLiteral("/mcp.json")) {}
    MCPManager manager;
};

TEST(MCPToolName, FoldsEveryNameIntoWhatModelsAccept) {
    const struct {
        const char* server;
        const char* tool;
        const char* name;
    } cases[] = {
        {"arquivos", "read_file", "mcp_arquivos_read_file"},
        {"meu serviço", "ação", "mcp_meu_servico_acao"},
        {"a.b/c", "x:y", "mcp_a_b_c_x_y"},
        {"日本", "ß-tool", "mcp_____-tool"},
        {"emoji", "🙂x", "mcp_emoji__x"},
        {"Ünïcode", "Über-2", "mcp_Unicode_Uber-2"},
    };
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9_-]{1,64}$"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool);
        const QString name =
            MCPManager::toolName(QString::fromUtf8(c.server), QString::fromUtf8(c.tool));
        EXPECT_EQ(name, QString::fromUtf8(c.name));
        EXPECT_TRUE(allowed.match(name).hasMatch());
    }
    const QString longName = MCPManager::toolName("s", QString(70, u'a'));
    EXPECT_EQ(longName, QStringLiteral("mcp_s_") + QString(58, u'a'));
}

TEST_F(AgentToolsFixture, RecordsCarryTheServerAndToolFields) {
    manager.attach("arquivos", idleClient("arquivos"),
                   {tool("read_file", false, std::nullopt, QString(700, u'd')),
                    tool("Create_Issue", false, QStringLiteral("Criar")), tool("GET_item"),
                    tool("delete_all", true)});
    const auto tools = mcpAgentTools(manager);
    ASSERT_EQ(tools.size(), 4u);
    // Sorted by the server's tool names.
    EXPECT_EQ(tools[0].name, "mcp_arquivos_Create_Issue");
    EXPECT_EQ(tools[1].name, "mcp_arquivos_GET_item");
    EXPECT_EQ(tools[2].name, "mcp_arquivos_delete_all");
    EXPECT_EQ(tools[3].name, "mcp_arquivos_read_file");

    EXPECT_EQ(tools[0].kind, AgentTool::Kind::action) << "no hint, not a reading name";
    EXPECT_EQ(tools[1].kind, AgentTool::Kind::read) << "the prefix test ignores case";
    EXPECT_EQ(tools[2].kind, AgentTool::Kind::read) << "the server's read-only hint wins";
    EXPECT_EQ(tools[3].kind, AgentTool::Kind::read);

    const AgentTool& read = tools[3];
    EXPECT_EQ(read.description, QStringLiteral("[arquivos] ") + QString(600, u'd'));
    EXPECT_EQ(read.group, "MCP · arquivos");
    EXPECT_EQ(read.symbol, "puzzlepiece.extension.fill");
    EXPECT_EQ(read.progress, "read_file…");
    EXPECT_EQ(read.parameters, JSONValue::object({{QStringLiteral("type"), "object"}}));
    EXPECT_FALSE(read.editableKey);
    EXPECT_FALSE(read.alwaysConfirm);
    EXPECT_EQ(tools[0].progress, "Criar…");
}

TEST(MCPToolKinds, ReadingPrefixes) {
    for (const char* name : {"get_x", "list_x", "search_x", "read_x", "find_x", "query_x",
                             "fetch_x", "lookup_x", "describe_x", "LIST_X"})
        EXPECT_TRUE(MCPManager::looksReadOnly(name)) << name;
    for (const char* name : {"create_x", "getx", "x_get_", "delete", ""})
        EXPECT_FALSE(MCPManager::looksReadOnly(name)) << name;
}

TEST_F(AgentToolsFixture, PreviewShowsTheFirstFourKeysInOrder) {
    manager.attach("srv", idleClient("srv"), {tool("send", false, QStringLiteral("Enviar"))});
    const auto tools = mcpAgentTools(manager);
    ASSERT_EQ(tools.size(), 1u);
    const JSONValue args =
        JSONValue::object({{QStringLiteral("b"), JSONValue::number(3)},
                           {QStringLiteral("a"), QString(130, u'z')},
                           {QStringLiteral("e"), "never shown"},
                           {QStringLiteral("d"), JSONValue()},
                           {QStringLiteral("c"), JSONValue::array({true, "/"})}});
    const ActionPreview p = tools[0].preview(args);
    EXPECT_EQ(p.symbol, "puzzlepiece.extension.fill");
    EXPECT_EQ(p.title, "Enviar · srv");
    EXPECT_EQ(p.details, QStringList({QStringLiteral("a: ") + QString(120, u'z'), "b: 3",
                                      R"(c: [true,"/"])", "d: null"}));
    EXPECT_FALSE(p.editableKey);
    EXPECT_EQ(p.editableValue, "");
    EXPECT_FALSE(p.appName);
    EXPECT_FALSE(p.email);
    EXPECT_FALSE(p.alternateLabel);
    EXPECT_TRUE(tools[0].preview(JSONValue::array({"x"})).details.isEmpty());
}

TEST_F(AgentToolsFixture, NamesStayUniqueAndLeadBackToTheirTool) {
    manager.attach("a b", idleClient("a b"), {tool("t")});
    manager.attach("a_b", idleClient("a_b"), {tool("t")});
    manager.attach("longo", idleClient("longo"),
                   {tool(QString(70, u'x')), tool(QString(71, u'x'))});
    const auto tools = mcpAgentTools(manager);
    ASSERT_EQ(tools.size(), 4u);
    EXPECT_EQ(tools[0].name, "mcp_a_b_t");
    EXPECT_EQ(tools[1].name, "mcp_a_b_t_2");
    EXPECT_EQ(tools[2].name.size(), 64);
    EXPECT_EQ(tools[3].name,
              QStringLiteral("mcp_longo_") + QString(52, u'x') + QStringLiteral("_2"));
    EXPECT_EQ(manager.toolTarget("mcp_a_b_t"), (MCPManager::ToolTarget{"a b", "t"}));
    EXPECT_EQ(manager.toolTarget("mcp_a_b_t_2"), (MCPManager::ToolTarget{"a_b", "t"}));
    EXPECT_EQ(manager.toolTarget(tools[3].name),
              (MCPManager::ToolTarget{"longo", QString(71, u'x')}));
    EXPECT_FALSE(manager.toolTarget("mcp_nada"));
}

TEST_F(AgentToolsFixture, OnlyRunningServersContributeTools) {
    QFile f(manager.configPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"mcpServers":{"desligado":{"command":"x","disabled":true},)"
            R"("quebrado":{"command":"nolvea-no-such-command"}}})");
    f.close();
    manager.reload();
    ASSERT_TRUE(test::spinUntil([&] {
        return manager.server("quebrado")->state.kind == MCPManager::ServerState::Kind::failed;
    }));
    EXPECT_TRUE(mcpAgentTools(manager).empty());
    manager.attach("vivo", idleClient("vivo"), {tool("x")});
    EXPECT_EQ(mcpAgentTools(manager).size(), 1u);
}

TEST(MCPLoginRequest, RecognisesGoogleSignInMessages) {
    EXPECT_TRUE(MCPManager::isLoginRequest("ACTION REQUIRED: Authentication Needed for x"));
    EXPECT_TRUE(MCPManager::isLoginRequest("Open the Authorization URL below"));
    EXPECT_TRUE(MCPManager::isLoginRequest("see https://Accounts.Google.com/o/oauth2/auth?x"));
    EXPECT_FALSE(MCPManager::isLoginRequest("accounts.google.com is down"));
    EXPECT_FALSE(MCPManager::isLoginRequest("arquivo não encontrado"));

    const struct {
        const char* message;
        const char* url;
    } cases[] = {
        {"Go to https://accounts.google.com/o/oauth2/auth?client_id=1&scope=a now",
         "https://accounts.google.com/o/oauth2/auth?client_id=1&scope=a"},
        {"[link](https://accounts.google.com/o/oauth2/v2/auth?x=1) and more",
         "https://accounts.google.com/o/oauth2/v2/auth?x=1"},
        {"[https://accounts.google.com/o/oauth2/auth?y=2]",
         "https://accounts.google.com/o/oauth2/auth?y=2"},
        {"http://accounts.google.com/o/oauth2/auth?x", nullptr},
        {"https://accountsXgoogle.com/o/oauth2/auth?x", nullptr},
        {"https://accounts.google.com/o/oauth2/ only", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto url = MCPManager::loginPage(QString::fromUtf8(c.message));
        if (c.url)
            EXPECT_EQ(url, QUrl(QString::fromUtf8(c.url)));
        else
            EXPECT_FALSE(url);
    }
}

class RunFixture : public AgentToolsFixture {
protected:
    void SetUp() override {
        launcher = std::make_shared<test::FakeLauncher>();
        Platform::install<Launcher>(launcher);
        client = test::scriptedClient();
        test::await(client->start());
        manager.attach("roteiro", client,
                       {tool("result"), tool("hang"),
                        tool("raw")}); // the scripted server's tools, by their own names
        tools = mcpAgentTools(manager);
    }
    void TearDown() override {
        Platform::uninstall<Launcher>();
        client->stop();
    }
    const AgentTool& named(const QString& name) {
        for (const auto& t : tools)
            if (t.name == name) return t;
        throw std::runtime_error("no such tool");
    }

    std::shared_ptr<test::FakeLauncher> launcher;
    std::shared_ptr<MCPClient> client;
    std::vector<AgentTool> tools;
};

TEST_F(RunFixture, RunCallsTheServersOwnToolName) {
    const JSONValue args = *JSONValue::parse(
        QStringLiteral(R"({"result":{"content":[{"type":"text","text":"feito"}]}})"));
    EXPECT_EQ(test::await(named("mcp_roteiro_result").run(args)), "feito");
}

TEST_F(RunFixture, AGoogleSignInRequestOpensThePageAndAsksToTryAgain) {
    const QString url = QStringLiteral("https://accounts.google.com/o/oauth2/auth?client_id=9");
    const JSONValue args = JSONValue::object(
        {{QStringLiteral("lines"),
          JSONValue::array({JSONValue(
              QStringLiteral(
                  R"x({"id":$ID,"error":{"code":1,"message":"Authentication needed: %1)"}})x")
                  .arg(url))})}});
    try {
        test::await(named("mcp_roteiro_raw").run(args));
        ADD_FAILURE() << "expected needsLogin";
    } catch (const ToolError& e) {
        EXPECT_EQ(e.kind(), ToolError::Kind::needsLogin);
        EXPECT_EQ(
            e.message(),
            "Abri a página de login do Google no navegador. Autorize o acesso e peça de novo.");
    }
    EXPECT_EQ(launcher->opened, QList<QUrl>{QUrl(url)});
}

TEST_F(RunFixture, OtherFailuresReachTheAgentUnchanged) {
    const JSONValue args = *JSONValue::parse(QStringLiteral(R"({"result":{"isError":true}})"));
    try {
        test::await(named("mcp_roteiro_result").run(args));
        ADD_FAILURE();
    } catch (const MCPError& e) {
        EXPECT_EQ(e.message(), "Erro na ferramenta.");
    }
    EXPECT_TRUE(launcher->opened.isEmpty());
}

TEST_F(RunFixture, AStoppedServersToolsFailAsNotRunning) {
    auto waiting = named("mcp_roteiro_hang").run(JSONValue::object({}));
    client->stop();
    for (auto* task : {&waiting}) {
        try {
            test::await(std::move(*task));
            ADD_FAILURE();
        } catch (const MCPError& e) {
            EXPECT_EQ(e.kind(), MCPError::Kind::notRunning);
        }
    }
    try {
        test::await(named("mcp_roteiro_result").run(JSONValue::object({})));
        ADD_FAILURE();
    } catch (const MCPError& e) {
        EXPECT_EQ(e.message(), "Servidor MCP não está rodando.");
    }
}

} // namespace
} // namespace nolvea
