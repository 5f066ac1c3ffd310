// The MCP self-test of the real program with the reference servers from npm and a scripted
// model on the loopback address.

#include "ModelSelfTest.h"
#include "mcp/MCPTestServers.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace nolvea;
using test::runNolvea;

namespace {

const QRegularExpression kStarted("^MCP iniciado em \\d+\\.\\ds — ferramentas: (.*)$");

class MCPSelfTest : public test::ModelSelfTest {
protected:
    // The names of the tools offered in the n-th request, in order.
    QStringList offered(int n) const {
        QStringList names;
        if (auto tools = model.request(n)["tools"])
            for (const JSONValue& t : tools->asArray())
                if (auto function = t["function"])
                    if (auto name = (*function)["name"]) names << name->asString().value_or("");
        return names;
    }
};

TEST_F(MCPSelfTest, TheServersToolsJoinTheAgentAndReadingToolsRunForReal) {
    model.reply("", {{"c1", "mcp_teste_echo", R"({"message":"oi do teste"})"}});
    model.reply("O servidor respondeu.");
    model.reply("Ainda estou aqui.");
    const test::DevRun run =
        runNolvea({"--selftest-mcp", "Testa o eco", "node", test::referenceServer("everything"),
                   "stdio", "--then", "De novo?"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    ASSERT_FALSE(run.lines.isEmpty());
    const auto started = kStarted.match(run.lines[0]);
    ASSERT_TRUE(started.hasMatch()) << run.output().toStdString();
    EXPECT_TRUE(started.captured(1).split(", ").contains("echo")) << run.lines[0].toStdString();

    // The echo ran in the server and its answer went back to the model.
    ASSERT_EQ(model.calls(), 3) << run.output().toStdString();
    EXPECT_TRUE(sent(1).contains("Echo: oi do teste")) << sent(1).toStdString();
    EXPECT_TRUE(run.lines.contains("   ← Echo: oi do teste")) << run.output().toStdString();
    // The server's tools come after the built-in ones.
    const QStringList tools = offered(0);
    ASSERT_TRUE(tools.contains("mcp_teste_echo"));
    EXPECT_FALSE(tools.first().startsWith("mcp_"));
    EXPECT_TRUE(tools.last().startsWith("mcp_teste_")) << tools.last().toStdString();

    // The follow-up is asked with the first turn behind it.
    EXPECT_TRUE(run.lines.contains("↪ De novo?")) << run.output().toStdString();
    EXPECT_TRUE(sent(2).contains("Pedido: Testa o eco"));
    EXPECT_EQ(run.lines.filter(QRegularExpression("^RESPOSTA \\(")).size(), 2)
        << run.output().toStdString();
}

// The filesystem server takes every argument as a folder it may use: the follow-up requests
// after "--then" must not reach it.
TEST_F(MCPSelfTest, TheServerGetsOnlyTheArgumentsBeforeTheFirstThen) {
    QTemporaryDir folder;
    model.reply("", {{"c1", "mcp_teste_list_allowed_directories", "{}"}});
    model.reply("Uma pasta.");
    model.reply("Certo.");
    const test::DevRun run =
        runNolvea({"--selftest-mcp", "Quais pastas?", "node", test::referenceServer("filesystem"),
                   folder.path(), "--then", "/nao/existe"});
    EXPECT_EQ(run.status, 0) << run.output().toStdString() << run.errors.toStdString();
    ASSERT_FALSE(run.lines.isEmpty());
    ASSERT_TRUE(kStarted.match(run.lines[0]).hasMatch()) << run.output().toStdString();
    ASSERT_EQ(model.calls(), 3);
    EXPECT_TRUE(sent(1).contains(QFileInfo(folder.path()).canonicalFilePath()))
        << sent(1).toStdString();
    EXPECT_FALSE(sent(1).contains("/nao/existe"));
    EXPECT_TRUE(run.lines.contains("↪ /nao/existe"));
}

TEST_F(MCPSelfTest, AServerWithoutToolsLeavesTheAgentItsOwn) {
    model.reply("Só as minhas.");
    const test::DevRun run =
        runNolvea({"--selftest-mcp", "Oi", "node", test::scriptedServer(), "empty"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    ASSERT_EQ(run.lines.size(), 3) << run.output().toStdString();
    EXPECT_TRUE(run.lines[0].endsWith("s — ferramentas: ")) << run.lines[0].toStdString();
    EXPECT_EQ(kStarted.match(run.lines[0]).captured(1), "");
    ASSERT_EQ(model.calls(), 1);
    EXPECT_FALSE(offered(0).isEmpty());
    EXPECT_TRUE(offered(0).filter(QRegularExpression("^mcp_")).isEmpty());
}

TEST_F(MCPSelfTest, AServerThatDoesNotStartIsOneLineAndNoAgentRun) {
    const test::DevRun run = runNolvea(
        {"--selftest-mcp", "Oi", "nolvea-servidor-que-nao-existe", "--then", "Outro pedido"});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.lines.size(), 1) << run.output().toStdString();
    EXPECT_TRUE(run.lines[0].startsWith("ERRO MCP: ")) << run.lines[0].toStdString();
    // The server's own complaint is part of the line.
    EXPECT_TRUE(run.lines[0].contains("nolvea-servidor-que-nao-existe"))
        << run.lines[0].toStdString();
    EXPECT_EQ(model.calls(), 0);
}

} // namespace
