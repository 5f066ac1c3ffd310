// The manager of mcp.json and its servers; the running servers are our scripted one.
#include "mcp/MCPManager.h"
#include "support/Async.h"

#include "mcp/MCPTestServers.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTimeZone>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace nolvea {
namespace {

using Kind = MCPManager::ServerState::Kind;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

void writeText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QString scriptedEntry(const QString& scenario, bool disabled = false) {
    return QStringLiteral(R"({"command":"node","args":[%1,%2]%3})")
        .arg(JSONValue(test::scriptedServer()).compactString(), JSONValue(scenario).compactString(),
             disabled ? QStringLiteral(R"(,"disabled":true)") : QString());
}

class ManagerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        path = test::home() + QStringLiteral("/dados/mcp.json");
        manager = std::make_unique<MCPManager>(path);
    }
    void writeServers(const QString& members) {
        writeText(path, QStringLiteral(R"({"mcpServers":{%1}})").arg(members).toUtf8());
    }
    Kind stateOf(const QString& name) {
        const auto* s = manager->server(name);
        EXPECT_TRUE(s) << name.toStdString();
        return s ? s->state.kind : Kind::failed;
    }
    bool settles(const QString& name) {
        return test::spinUntil([&] {
            const auto* s = manager->server(name);
            return s && s->state.kind != Kind::starting;
        });
    }

    QString path;
    std::unique_ptr<MCPManager> manager;
};

TEST(MCPManagerShared, FirstLaunchWritesTheDefaultFileWithBothServersOff) {
    auto& manager = MCPManager::shared();
    const QString path = QDir(test::home()).filePath(".local/share/Falantorix/mcp.json");
    EXPECT_EQ(manager.configPath(), path);
    ASSERT_FALSE(QFile::exists(path));
    manager.reload();
    const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    EXPECT_EQ(readAll(path), QStringLiteral(R"({
  "mcpServers": {
    "horario": {
      "command": "uvx",
      "args": ["mcp-server-time", "--local-timezone", "%1"],
      "disabled": true
    },
    "arquivos": {
      "command": "npx",
      "args": ["-y", "@modelcontextprotocol/server-filesystem", "~/Documents"],
      "disabled": true
    }
  }
})")
                                 .arg(zone)
                                 .toUtf8());
    EXPECT_EQ(modeOf(path), 0600);
    ASSERT_EQ(manager.servers().size(), 2u);
    EXPECT_EQ(manager.servers()[0].name, "arquivos");
    EXPECT_EQ(manager.servers()[1].name, "horario");
    for (const auto& s : manager.servers()) {
        EXPECT_EQ(s.state, MCPManager::ServerState::disabled());
        EXPECT_FALSE(manager.client(s.name)) << "no child is started for a disabled server";
    }
    EXPECT_FALSE(manager.configError());
}

TEST_F(ManagerFixture, SwitchingAServerOnRewritesTheFileAndStartsIt) {
    writeServers(QStringLiteral(R"("roteiro":%1,"outro":{"command":"x","disabled":true})")
                     .arg(scriptedEntry("normal", true)));
    manager->reload();
    EXPECT_EQ(stateOf("roteiro"), Kind::disabled);

    QSignalSpy tools(manager.get(), &MCPManager::toolsChanged);
    manager->setDisabled("roteiro", false);
    EXPECT_EQ(stateOf("roteiro"), Kind::starting);
    const QByteArray text = readAll(path);
    EXPECT_FALSE(text.contains(R"("disabled" : false)")) << "switched on: the key is gone";
    EXPECT_TRUE(
        text.contains("\n    \"outro\" : {\n      \"command\" : \"x\",\n      \"disabled\" : true"))
        << text.toStdString();
    EXPECT_LT(text.indexOf("\"outro\""), text.indexOf("\"roteiro\"")) << "keys sorted";
    EXPECT_TRUE(text.contains(
        QStringLiteral("\"args\" : [\n        \"%1\"").arg(test::scriptedServer()).toUtf8()))
        << "pretty-printed, \"/\" unescaped: " << text.toStdString();
    EXPECT_EQ(modeOf(path), 0600);

    ASSERT_TRUE(settles("roteiro"));
    const auto* server = manager->server("roteiro");
    EXPECT_EQ(server->state, MCPManager::ServerState::running());
    ASSERT_EQ(server->tools.size(), 2u);
    EXPECT_EQ(server->tools[0].name, "a-tool") << "tools sorted by name";
    EXPECT_EQ(tools.count(), 1);

    manager->setDisabled("roteiro", true);
    EXPECT_EQ(stateOf("roteiro"), Kind::disabled);
    EXPECT_TRUE(readAll(path).contains(R"("disabled" : true)"));
    EXPECT_FALSE(manager->client("roteiro"));
}

TEST_F(ManagerFixture, SetDisabledForAnUnknownNameChangesNothing) {
    writeServers(scriptedEntry("normal", true).prepend(R"("roteiro":)"));
    manager->reload();
    const QByteArray before = readAll(path);
    QSignalSpy changes(manager.get(), &MCPManager::serversChanged);
    manager->setDisabled("ninguem", false);
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(changes.count(), 0) << "no reload";
}

TEST_F(ManagerFixture, AnInvalidFileIsRejectedWhole) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {R"({"mcpServers":{"a":{"command":"x"},}})", "o texto não é JSON válido."},
        {R"({"servers":{}})", "falta a chave \"mcpServers\"."},
        {R"({"mcpServers":{"a":{"command":"x"},"b":{"args":[]}}})",
         "o servidor \"b\" não tem \"command\"."},
        {R"({"mcpServers":{"a":{"command":"x","args":"y"}}})",
         "o servidor \"a\" tem \"args\" que não é uma lista."},
        {R"([])", "o texto não é um objeto JSON."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        writeText(path, c.text);
        manager->reload();
        ASSERT_TRUE(manager->configError());
        EXPECT_EQ(manager->configError()->message(),
                  QStringLiteral("mcp.json inválido: ") + QString::fromUtf8(c.reason));
        EXPECT_TRUE(manager->servers().empty());
        EXPECT_EQ(readAll(path), QByteArray(c.text)) << "never overwritten";
    }
    writeServers(R"("a":{"command":"x","disabled":true,"extra":1})");
    manager->reload();
    EXPECT_FALSE(manager->configError()) << "cleared by the next good reload; unknown keys ignored";
    EXPECT_EQ(manager->servers().size(), 1u);
}

TEST_F(ManagerFixture, AnUnreadableFileKeepsItsServersWhenAnEntryIsAdded) {
    const QByteArray broken = R"({"mcpServers":{"meu":{"command":"x"},}})";
    writeText(path, broken);
    MCPServerConfig google{"uvx", QStringList{"workspace-mcp"}, {}, {}};
    const auto error = manager->setServer("google", google);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), MCPError::Kind::invalidConfig);
    EXPECT_TRUE(error->message().startsWith("mcp.json inválido: "));
    EXPECT_EQ(readAll(path), broken);

    writeServers(R"("meu":{"command":"x","disabled":true})");
    EXPECT_FALSE(manager->setServer("google", MCPServerConfig{"y", {}, {}, true}));
    const auto read = manager->readConfig();
    const auto* file = std::get_if<MCPConfigFile>(&read);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->mcpServers.size(), 2u);
    EXPECT_EQ(file->mcpServers.at("meu").command, "x");
}

TEST(MCPManagerWrite, AFailedWriteIsReported) {
    // The folder of the file is a plain file: nothing can be written there.
    const QString blocker = test::home() + QStringLiteral("/bloqueio");
    writeText(blocker, "x");
    MCPManager manager(blocker + QStringLiteral("/mcp.json"));
    const auto unwritten = manager.ensureConfigExists();
    ASSERT_TRUE(unwritten);
    EXPECT_EQ(unwritten->message(), "Não foi possível gravar o arquivo " + blocker + "/mcp.json.");
    const auto error = manager.save(MCPConfigFile{});
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Não foi possível salvar mcp.json.");
    ASSERT_TRUE(manager.configError());
    EXPECT_EQ(manager.configError()->message(), "Não foi possível salvar mcp.json.");
    EXPECT_EQ(manager.setServer("google", MCPServerConfig{"y", {}, {}, true}), MCPError::unsaved());
    EXPECT_FALSE(QFile::exists(blocker + QStringLiteral("/mcp.json")));
}

TEST_F(ManagerFixture, AServerThatCannotStartShowsItsLaunchersComplaint) {
    writeServers(R"("sumido":{"command":"nolvea-no-such-command"})");
    manager->reload();
    ASSERT_TRUE(settles("sumido"));
    const auto& state = manager->server("sumido")->state;
    EXPECT_EQ(state.kind, Kind::failed);
    EXPECT_TRUE(state.message.startsWith("Servidor MCP não está rodando. — "))
        << state.message.toStdString();
    EXPECT_TRUE(state.message.contains("nolvea-no-such-command"));
    ASSERT_TRUE(manager->client("sumido")) << "the failed client stays";
    EXPECT_FALSE(manager->client("sumido")->hasProcess());
}

TEST_F(ManagerFixture, AServerWithoutToolsRunsWithAnEmptyList) {
    writeServers(scriptedEntry("empty").prepend(R"("vazio":)"));
    manager->reload();
    ASSERT_TRUE(settles("vazio"));
    EXPECT_EQ(stateOf("vazio"), Kind::running);
    EXPECT_TRUE(manager->server("vazio")->tools.empty());
}

TEST_F(ManagerFixture, AStartOvertakenByAReloadLeavesTheNewEntryAlone) {
    // "lento" never answers the handshake: each start stays waiting until it is stopped.
    writeServers(scriptedEntry("silent").prepend(R"("lento":)"));
    manager->reload();
    ASSERT_TRUE(test::spinUntil([&] { return manager->client("lento")->isRunning(); }));
    const auto first = manager->client("lento");
    manager->reload();
    EXPECT_FALSE(first->hasProcess());
    EXPECT_NE(manager->client("lento"), first);
    // The first start ends (its task lets go of the client); its failure must not land on
    // the new entry.
    ASSERT_TRUE(test::spinUntil([&] { return first.use_count() == 1; }));
    EXPECT_EQ(stateOf("lento"), Kind::starting);

    // Two reloads in a row: the first start is overtaken before its child even runs.
    writeServers(scriptedEntry("normal").prepend(R"("rapido":)"));
    manager->reload();
    manager->reload();
    ASSERT_TRUE(settles("rapido"));
    EXPECT_EQ(stateOf("rapido"), Kind::running);
}

TEST_F(ManagerFixture, AttachAddsARunningServerAtTheEnd) {
    writeServers(R"("a":{"command":"x","disabled":true})");
    manager->reload();
    auto client = test::scriptedClient();
    test::await(client->start());
    manager->attach("teste", client, test::await(client->listTools()));
    ASSERT_EQ(manager->servers().size(), 2u);
    const auto& attached = manager->servers().back();
    EXPECT_EQ(attached.name, "teste");
    EXPECT_EQ(attached.state.kind, Kind::running);
    EXPECT_EQ(attached.config, MCPServerConfig{});
    EXPECT_EQ(attached.tools.size(), 2u);
    EXPECT_EQ(manager->client("teste"), client);
    manager->reload();
    EXPECT_FALSE(client->hasProcess()) << "a reload stops every client";
}

} // namespace
} // namespace nolvea
