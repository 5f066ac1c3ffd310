#include "ai/AccountBridge.h"

#include "ai/BridgeFixture.h"
#include "ai/BridgeReply.h"
#include "ai/BridgeRunner.h"
#include "ai/LLMError.h"
#include "support/TestEnvironment.h"

#include <QRegularExpression>

namespace nolvea {
namespace {

using CLI = AccountBridge::CLI;
using BridgeError = AccountBridge::BridgeError;
using Kind = BridgeError::Kind;

class AccountBridgeTest : public test::BridgeFixture {
protected:
    // The error a call throws, or nothing when it returns.
    template <typename T> std::optional<BridgeError> bridgeError(QCoro::Task<T>&& task) {
        try {
            test::await(std::move(task));
        } catch (const BridgeError& e) {
            return e;
        }
        return std::nullopt;
    }
};

TEST(BridgeErrorTest, MessagesNameTheTool) {
    EXPECT_EQ(BridgeError::notInstalled(CLI::claude).message(),
              QStringLiteral("Claude Code não está instalado (Ajustes › IA)"));
    EXPECT_EQ(BridgeError::notLoggedIn(CLI::codex).message(),
              QStringLiteral("Entre na sua conta pelo Codex (Ajustes › IA)"));
    EXPECT_EQ(BridgeError::badOutput(CLI::claude).message(),
              QStringLiteral("Claude Code devolveu uma resposta que a Nolvea não entendeu"));
    EXPECT_EQ(BridgeError::failed(CLI::codex, QString(250, u'é')).message(),
              QStringLiteral("Codex: ") + QString(200, u'é'));
}

TEST_F(AccountBridgeTest, MissingToolIsReportedEverywhere) {
    for (CLI cli : {CLI::claude, CLI::codex}) {
        EXPECT_EQ(test::await(AccountBridge::status(cli)), AccountBridge::Status{});
        for (auto error :
             {bridgeError(AccountBridge::login(cli)), bridgeError(AccountBridge::logout(cli)),
              bridgeError(AccountBridge::chat(cli == CLI::claude ? AIProvider::claudeAccount
                                                                 : AIProvider::chatgptAccount,
                                              QStringLiteral("m"), {}, std::nullopt, 30))}) {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->kind(), Kind::notInstalled);
            EXPECT_TRUE(
                error->message().endsWith(QStringLiteral(" não está instalado (Ajustes › IA)")));
        }
    }
}

TEST_F(AccountBridgeTest, UsualToolFoldersComeBeforePath) {
    writeTool(QStringLiteral("claude"), "exit 0");
    EXPECT_EQ(AccountBridge::executable(CLI::claude), bin() + QStringLiteral("/claude"));
    const QString local =
        writeTool(QStringLiteral("claude"), "exit 0", test::home() + QStringLiteral("/.local/bin"));
    EXPECT_EQ(AccountBridge::executable(CLI::claude), local);
    QFile::remove(local);
    EXPECT_EQ(AccountBridge::executable(CLI::codex), QString());
}

TEST_F(AccountBridgeTest, ClaudeStatusReadsItsJson) {
    const struct {
        QByteArray out;
        AccountBridge::Status status;
    } cases[] = {
        {R"({"loggedIn":true,"email":"ana@exemplo.com","authMethod":"claude.ai"})",
         {true, true, QStringLiteral("ana@exemplo.com")}},
        {R"({"loggedIn":true,"email":"ana@exemplo.com","authMethod":"console_oauth"})",
         {true, true, QStringLiteral("ana@exemplo.com · Console (cobrado como API)")}},
        {R"({"loggedIn":false,"authMethod":"console"})",
         {true, false, QStringLiteral(" · Console (cobrado como API)")}},
        {R"({"loggedIn":"yes","email":7})", {true, false, QString()}},
        {R"({"email":"ana@exemplo.com"})", {true, false, QStringLiteral("ana@exemplo.com")}},
        {"Logged in", {true, false, QString()}},
        {"[true]", {true, false, QString()}},
    };
    for (const auto& c : cases) {
        // The exit status is not looked at.
        writeTool(QStringLiteral("claude"), "printf '%s' '" + c.out + "'\nexit 1");
        EXPECT_EQ(test::await(AccountBridge::status(CLI::claude)), c.status) << c.out.constData();
    }
    EXPECT_EQ(args(), (QStringList{QStringLiteral("auth"), QStringLiteral("status")}));
    EXPECT_EQ(read(QStringLiteral("stdin")), QByteArray());
}

TEST_F(AccountBridgeTest, CodexStatusReadsItsPhrases) {
    const QString chatgpt = QStringLiteral("Assinatura do ChatGPT");
    const QString apiKey = QStringLiteral("Chave de API (não é a assinatura)");
    const struct {
        QByteArray script;
        AccountBridge::Status status;
    } cases[] = {
        {"echo 'Logged in using ChatGPT'", {true, true, chatgpt}},
        {"echo 'Logged in using an API key - sk-***' >&2", {true, true, apiKey}},
        {"echo 'NOT LOGGED IN' >&2", {true, false, chatgpt}},
        {"echo 'Not logged in'; exit 1", {true, false, chatgpt}},
        {"echo 'Logged in using ChatGPT'; exit 1", {true, false, chatgpt}},
        {"echo 'Logged'; echo ' in' >&2", {true, false, chatgpt}},
    };
    for (const auto& c : cases) {
        writeTool(QStringLiteral("codex"), c.script);
        EXPECT_EQ(test::await(AccountBridge::status(CLI::codex)), c.status) << c.script.constData();
    }
    EXPECT_EQ(args(), (QStringList{QStringLiteral("login"), QStringLiteral("status")}));
}

TEST_F(AccountBridgeTest, StatusThatHangsCountsAsSignedOutAfterTwentySeconds) {
    writeTool(QStringLiteral("claude"), "echo $$ > \"$r/leader\"\nsleep 600");
    auto task = AccountBridge::status(CLI::claude);
    ASSERT_TRUE(test::spinUntil([&] { return !readText(QStringLiteral("leader")).isEmpty(); }));
    m_clock.advance(std::chrono::seconds(20));
    EXPECT_EQ(test::await(std::move(task)), (AccountBridge::Status{true, false, QString()}));
    EXPECT_TRUE(test::spinUntil([&] { return !alive(QStringLiteral("leader")); }, 5000));
}

TEST_F(AccountBridgeTest, LoginAndLogoutCommandLines) {
    const struct {
        CLI cli;
        bool login;
        QStringList args;
    } cases[] = {
        {CLI::claude, true, {"auth", "login", "--claudeai"}},
        {CLI::codex, true, {"login"}},
        {CLI::claude, false, {"auth", "logout"}},
        {CLI::codex, false, {"logout"}},
    };
    for (const auto& c : cases) {
        writeTool(AccountBridge::commandName(c.cli), "exit 0");
        EXPECT_FALSE(
            bridgeError(c.login ? AccountBridge::login(c.cli) : AccountBridge::logout(c.cli)));
        EXPECT_EQ(args(), c.args);
        EXPECT_EQ(read(QStringLiteral("stdin")), QByteArray());
    }
}

TEST_F(AccountBridgeTest, FailedLoginReportsTheLastThreeLines) {
    writeTool(QStringLiteral("codex"),
              "printf 'um\\n\\ndois\\ntrês\\n\\nquatro\\n' >&2\necho 'ignored on stdout'\nexit 2");
    const auto error = bridgeError(AccountBridge::login(CLI::codex));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Kind::failed);
    EXPECT_EQ(error->message(), QStringLiteral("Codex: dois três quatro"));
}

TEST_F(AccountBridgeTest, LoginAndLogoutThatTimeOutFailAndEndTheChild) {
    for (bool login : {true, false}) {
        QFile::remove(recorded(QStringLiteral("leader")));
        writeTool(QStringLiteral("claude"), "echo $$ > \"$r/leader\"\nsleep 600");
        auto task = login ? AccountBridge::login(CLI::claude) : AccountBridge::logout(CLI::claude);
        ASSERT_TRUE(test::spinUntil([&] { return !readText(QStringLiteral("leader")).isEmpty(); }));
        m_clock.advance(std::chrono::seconds(login ? 300 : 30));
        const auto error = bridgeError(std::move(task));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->message(), login ? QStringLiteral("Claude Code: não respondeu em 300 s")
                                          : QStringLiteral("Claude Code: não respondeu em 30 s"));
        EXPECT_TRUE(test::spinUntil([&] { return !alive(QStringLiteral("leader")); }, 5000));
    }
}

TEST_F(AccountBridgeTest, ApiKeysNeverReachTheTools) {
    qputenv("ANTHROPIC_API_KEY", "sk-ant");
    qputenv("ANTHROPIC_AUTH_TOKEN", "tok");
    qputenv("OPENAI_API_KEY", "sk-oai");
    qputenv("NOLVEA_KEEP", "sim");
    for (CLI cli : {CLI::claude, CLI::codex}) {
        writeTool(AccountBridge::commandName(cli), "exit 0");
        test::await(AccountBridge::logout(cli));
        const auto vars = env();
        EXPECT_EQ(vars.contains(QStringLiteral("ANTHROPIC_API_KEY")), cli == CLI::codex);
        EXPECT_EQ(vars.contains(QStringLiteral("ANTHROPIC_AUTH_TOKEN")), cli == CLI::codex);
        EXPECT_EQ(vars.contains(QStringLiteral("OPENAI_API_KEY")), cli == CLI::claude);
        EXPECT_EQ(vars.value(QStringLiteral("NOLVEA_KEEP")), QStringLiteral("sim"));
        EXPECT_EQ(vars.value(QStringLiteral("PATH")),
                  test::home() + QStringLiteral("/.local/bin:/opt/homebrew/bin:/usr/local/bin:") +
                      bin() + QStringLiteral(":/usr/bin:/bin"));
        EXPECT_TRUE(readText(QStringLiteral("cwd")).endsWith(QStringLiteral("/nolvea-cli")));
    }
    for (const char* name :
         {"ANTHROPIC_API_KEY", "ANTHROPIC_AUTH_TOKEN", "OPENAI_API_KEY", "NOLVEA_KEEP"})
        qunsetenv(name);
}

} // namespace
} // namespace nolvea
