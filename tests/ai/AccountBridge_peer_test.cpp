#include "ai/AccountBridge.h"
#include "ai/BridgePrompt.h"
#include "ai/BridgeRunner.h"
#include "ai/CodexTurn.h"

#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/Printers.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The real `claude` and `codex` tools from npm, never with a real account: every flag the
// bridge passes must parse, and a turn must fail only for want of a login.
namespace nolvea {
namespace {

using CLI = AccountBridge::CLI;
using BridgeError = AccountBridge::BridgeError;

const QString toolsBin = QStringLiteral(NOLVEA_SOURCE_DIR "/third_party/node/node_modules/.bin");

class AccountToolsPeerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(toolsBin + QStringLiteral("/claude")) ||
            !QFile::exists(toolsBin + QStringLiteral("/codex")))
            GTEST_SKIP() << "run scripts/setup: the npm tools are missing";
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(toolsBin) + ":/usr/bin:/bin");
        for (const char* name : {"ANTHROPIC_API_KEY", "ANTHROPIC_AUTH_TOKEN", "OPENAI_API_KEY"})
            qunsetenv(name);
    }
    void TearDown() override {
        if (!m_oldPath.isNull()) qputenv("PATH", m_oldPath);
    }

    static std::vector<ChatMessage> conversation(bool withImage) {
        ChatMessage system;
        system.role = QStringLiteral("system");
        system.content = MessageContent::text(QStringLiteral("Responda em português."));
        ChatMessage user;
        user.role = QStringLiteral("user");
        ContentPart text;
        text.type = QStringLiteral("text");
        text.text = QStringLiteral("oi");
        std::vector<ContentPart> parts{text};
        if (withImage) {
            ContentPart image;
            image.type = QStringLiteral("image_url");
            // A 1×1 PNG.
            image.imageURL = ContentPart::ImageURL{QStringLiteral(
                "data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR4"
                "2mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==")};
            parts.push_back(image);
        }
        user.content = MessageContent::parts(parts);
        return {system, user};
    }

    static std::vector<ToolSpec> tools() {
        ToolSpec spec;
        spec.type = QStringLiteral("function");
        spec.function = {QStringLiteral("hora"), QStringLiteral("Diz a hora."),
                         JSONValue::object({{QStringLiteral("type"), "object"}})};
        return {spec};
    }

    static QString help(const QStringList& args) {
        QProcess process;
        process.start(toolsBin + u'/' + args.first(), args.mid(1));
        process.waitForFinished(60'000);
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    }

    QByteArray m_oldPath;
};

TEST_F(AccountToolsPeerTest, ClaudeAccountCommandsExist) {
    EXPECT_EQ(AccountBridge::executable(CLI::claude), toolsBin + QStringLiteral("/claude"));
    const QString auth = help({"claude", "auth", "--help"});
    for (const char* command : {"login", "logout", "status"})
        EXPECT_TRUE(auth.contains(QString::fromLatin1(command))) << command;
    EXPECT_TRUE(help({"claude", "auth", "login", "--help"}).contains(QStringLiteral("--claudeai")));

    const AccountBridge::Status status = test::await(AccountBridge::status(CLI::claude));
    EXPECT_TRUE(status.installed);
    EXPECT_FALSE(status.loggedIn);
}

TEST_F(AccountToolsPeerTest, ClaudeTurnFailsOnlyForWantOfALogin) {
    const QString usage = help({"claude", "--help"});
    for (const char* flag : {"--print", "--input-format", "--output-format", "--verbose", "--tools",
                             "--strict-mcp-config", "--no-session-persistence", "--setting-sources",
                             "--model", "--json-schema"})
        EXPECT_TRUE(usage.contains(QString::fromLatin1(flag))) << flag;

    // An unknown flag or a malformed input line would fail with another text.
    for (bool withTools : {false, true}) {
        try {
            test::await(AccountBridge::chat(AIProvider::claudeAccount, QStringLiteral("sonnet"),
                                            conversation(true),
                                            withTools ? std::optional(tools()) : std::nullopt, 90));
            ADD_FAILURE() << "answered without an account";
        } catch (const BridgeError& e) {
            EXPECT_EQ(e.kind(), BridgeError::Kind::notLoggedIn) << e.message().toStdString();
        }
    }
}

TEST_F(AccountToolsPeerTest, CodexAccountCommandsExist) {
    EXPECT_EQ(AccountBridge::executable(CLI::codex), toolsBin + QStringLiteral("/codex"));
    EXPECT_TRUE(help({"codex", "login", "--help"}).contains(QStringLiteral("status")));
    EXPECT_TRUE(help({"codex", "logout", "--help"}).contains(QStringLiteral("Usage")));
    const AccountBridge::Status status = test::await(AccountBridge::status(CLI::codex));
    EXPECT_TRUE(status.installed);
    EXPECT_FALSE(status.loggedIn);
}

TEST_F(AccountToolsPeerTest, CodexTakesEveryFlagAndReadsTheConversationFromInput) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile schema(folder.filePath(QStringLiteral("esquema.json")));
    ASSERT_TRUE(schema.open(QIODevice::WriteOnly));
    schema.write(R"({"type":"object","properties":{},"additionalProperties":false})");
    schema.close();
    const BridgePrompt prompt = BridgePrompt::make(conversation(true), tools());
    ASSERT_EQ(prompt.images.size(), 1u);
    QFile image(folder.filePath(QStringLiteral("tela-0.png")));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write(prompt.images.front());
    image.close();

    // Without an account (and without a network here) the tool keeps trying: once it has
    // echoed the conversation it read, every flag before it has parsed.
    QProcess process;
    process.setProcessEnvironment(BridgeRunner::environment(CLI::codex));
    process.setWorkingDirectory(folder.path());
    process.start(toolsBin + QStringLiteral("/codex"),
                  CodexTurn::arguments(folder.path(), QStringLiteral("gpt-5"), true, 1));
    ASSERT_TRUE(process.waitForStarted());
    process.write(CodexTurn::instructions(prompt));
    process.closeWriteChannel();
    QByteArray err;
    ASSERT_TRUE(test::spinUntil(
        [&] {
            err += process.readAllStandardError();
            return err.contains("Continue a partir do fim") ||
                   process.state() == QProcess::NotRunning;
        },
        60'000))
        << err.toStdString();
    err += process.readAllStandardError();
    process.kill();
    process.waitForFinished();
    EXPECT_TRUE(err.contains("<instrucoes>")) << err.toStdString();
    EXPECT_TRUE(err.contains("reasoning effort: medium")) << err.toStdString();
    EXPECT_FALSE(err.contains("unexpected argument")) << err.toStdString();
}

// The tool pointed at a model server of our own (its configuration in the test's home): what
// it sends shows how it read the command line. The image goes as one image, and the
// conversation as the prompt, never as a second image path.
TEST_F(AccountToolsPeerTest, CodexSendsTheImageAndTheConversationAsGiven) {
    test::LoopbackServer model;
    model.on("POST", QStringLiteral("/v1/responses"),
             test::HttpResponse::text("indisponível", 500));
    QDir().mkpath(QDir::homePath() + QStringLiteral("/.codex"));
    QFile config(QDir::homePath() + QStringLiteral("/.codex/config.toml"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
    config.write(QStringLiteral("model_provider = \"teste\"\n"
                                "[model_providers.teste]\n"
                                "name = \"teste\"\n"
                                "base_url = \"%1\"\n"
                                "wire_api = \"responses\"\n"
                                "request_max_retries = 0\n"
                                "stream_max_retries = 0\n")
                     .arg(model.url(QStringLiteral("/v1")))
                     .toUtf8());
    config.close();

    EXPECT_THROW(
        test::await(AccountBridge::chat(AIProvider::chatgptAccount, QStringLiteral("gpt-5"),
                                        conversation(true), std::nullopt, 60)),
        BridgeError);
    QFile::remove(config.fileName());
    ASSERT_GE(model.count(QStringLiteral("/v1/responses")), 1);

    const QJsonObject body = QJsonDocument::fromJson(model.lastRequest().body).object();
    int images = 0;
    QStringList texts;
    for (const QJsonValue item : body[QStringLiteral("input")].toArray()) {
        if (item[QStringLiteral("role")].toString() != u"user") continue;
        for (const QJsonValue part : item[QStringLiteral("content")].toArray()) {
            if (part[QStringLiteral("type")].toString() == u"input_image") ++images;
            if (part[QStringLiteral("type")].toString() == u"input_text")
                texts << part[QStringLiteral("text")].toString();
        }
    }
    EXPECT_EQ(images, 1);
    const QString all = texts.join(u'\n');
    EXPECT_FALSE(all.contains(QStringLiteral("could not read"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("<instrucoes>"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Continue a partir do fim"))) << all.toStdString();
}

TEST_F(AccountToolsPeerTest, CodexTurnEndsAtTheLimitWithoutALogin) {
    try {
        test::await(AccountBridge::chat(AIProvider::chatgptAccount, QStringLiteral("padrão"),
                                        conversation(false), std::nullopt, 8));
        ADD_FAILURE() << "answered without an account";
    } catch (const BridgeError& e) {
        // Offline it never gives up by itself; with a network it would say it is signed out.
        const bool timedOut = e.message() == QStringLiteral("Codex: não respondeu em 8 s");
        EXPECT_TRUE(timedOut || e.kind() == BridgeError::Kind::notLoggedIn)
            << e.message().toStdString();
    }
}

} // namespace
} // namespace nolvea
