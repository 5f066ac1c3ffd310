#include "ai/AccountBridge.h"

#include "ai/BridgeFixture.h"
#include "ai/BridgeReply.h"
#include "ai/LLMError.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace nolvea {
namespace {

using CLI = AccountBridge::CLI;
using BridgeError = AccountBridge::BridgeError;
using Kind = BridgeError::Kind;

std::vector<ToolSpec> oneTool() {
    ToolSpec spec;
    spec.type = QStringLiteral("function");
    spec.function = {QStringLiteral("hora"), QStringLiteral("Diz a hora."),
                     JSONValue::object({{QStringLiteral("type"), "object"}})};
    return {spec};
}

ChatMessage withImages(const QList<QByteArray>& images) {
    ChatMessage m;
    m.role = QStringLiteral("user");
    std::vector<ContentPart> parts;
    ContentPart text;
    text.type = QStringLiteral("text");
    text.text = QStringLiteral("o que há na tela?");
    parts.push_back(text);
    for (const QByteArray& image : images) {
        ContentPart part;
        part.type = QStringLiteral("image_url");
        part.imageURL = ContentPart::ImageURL{QStringLiteral("data:image/png;base64,") +
                                              QString::fromLatin1(image.toBase64())};
        parts.push_back(part);
    }
    m.content = MessageContent::parts(parts);
    return m;
}

// What a chat call ended with: the message, or the error's kind and text.
struct Outcome {
    std::optional<ChatMessage> message;
    std::optional<Kind> kind;
    bool empty = false;
    QString text;
};

class BridgeTurnTest : public test::BridgeFixture {
protected:
    Outcome chat(AIProvider provider, const QString& model, std::vector<ChatMessage> messages,
                 std::optional<std::vector<ToolSpec>> tools = std::nullopt) {
        Outcome outcome;
        try {
            outcome.message = test::await(
                AccountBridge::chat(provider, model, std::move(messages), std::move(tools), 60));
            outcome.text = outcome.message->text();
        } catch (const BridgeError& e) {
            outcome.kind = e.kind();
            outcome.text = e.message();
        } catch (const LLMError& e) {
            outcome.empty = e.kind() == LLMError::Kind::emptyResponse;
            outcome.text = e.message();
        }
        return outcome;
    }

    const std::vector<ChatMessage> conversation{
        ChatMessage::ofText(QStringLiteral("system"),
                            QStringLiteral("Você é a Nolvea. Tela: senha123")),
        ChatMessage::ofText(QStringLiteral("user"), QStringLiteral("oi"))};
};

// --- claude ---

TEST_F(BridgeTurnTest, ClaudeCommandLineAndInput) {
    writeTool(QStringLiteral("claude"),
              R"(echo '{"type":"system","subtype":"init"}'
echo '{"type":"result","is_error":false,"result":"  Olá!  "}')");
    const QByteArray png("\x89PNG fake");
    std::vector<ChatMessage> messages = conversation;
    messages.push_back(withImages({png}));
    const Outcome outcome = chat(AIProvider::claudeAccount, QStringLiteral("sonnet"), messages);
    ASSERT_TRUE(outcome.message) << outcome.text.toStdString();
    EXPECT_EQ(outcome.message->role, QStringLiteral("assistant"));
    EXPECT_EQ(outcome.text, QStringLiteral("Olá!"));

    const QString systemFile = readText(QStringLiteral("systempath"));
    EXPECT_EQ(args(), (QStringList{"-p", "--input-format", "stream-json", "--output-format",
                                   "stream-json", "--verbose", "--tools", "", "--strict-mcp-config",
                                   "--no-session-persistence", "--setting-sources", "", "--model",
                                   "sonnet", "--system-prompt-file", systemFile}));
    // The screen text travels in a private file that is gone after the turn, never in argv.
    EXPECT_EQ(read(QStringLiteral("system")), QByteArray("Você é a Nolvea. Tela: senha123"));
    EXPECT_EQ(readText(QStringLiteral("systemmode")), QStringLiteral("600"));
    EXPECT_EQ(readText(QStringLiteral("systemdirmode")), QStringLiteral("700"));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(systemFile).absolutePath()));
    EXPECT_FALSE(read(QStringLiteral("args")).contains("senha123"));

    const auto input = JSONValue::parse(read(QStringLiteral("stdin")));
    ASSERT_TRUE(input);
    const JSONValue expected = JSONValue::object(
        {{QStringLiteral("type"), "user"},
         {QStringLiteral("message"),
          JSONValue::object(
              {{QStringLiteral("role"), "user"},
               {QStringLiteral("content"),
                JSONValue::array(
                    {JSONValue::object(
                         {{QStringLiteral("type"), "text"},
                          {QStringLiteral("text"),
                           "<historico>\n[pessoa]: oi\n[pessoa]: o que há na tela?\n</historico>"
                           "\n\nContinue a partir do fim do histórico."}}),
                     JSONValue::object(
                         {{QStringLiteral("type"), "image"},
                          {QStringLiteral("source"),
                           JSONValue::object({{QStringLiteral("type"), "base64"},
                                              {QStringLiteral("media_type"), "image/png"},
                                              {QStringLiteral("data"),
                                               QString::fromLatin1(png.toBase64())}})}})})}})}});
    EXPECT_EQ(*input, expected);
}

TEST_F(BridgeTurnTest, ClaudeWithToolsAsksForTheSchemaAndDecodesCalls) {
    writeTool(
        QStringLiteral("claude"),
        R"(echo '{"type":"result","is_error":false,"result":"","structured_output":{"reply":"","tool_calls":[{"name":"hora","arguments_json":"{}"}]}}')");
    const Outcome outcome =
        chat(AIProvider::claudeAccount, QStringLiteral("opus"), conversation, oneTool());
    ASSERT_TRUE(outcome.message) << outcome.text.toStdString();
    const QStringList a = args();
    ASSERT_EQ(a.size(), 18);
    EXPECT_EQ(a.mid(16), (QStringList{QStringLiteral("--json-schema"), BridgeReply::schema()}));
    EXPECT_TRUE(read(QStringLiteral("system")).contains("## Ferramentas do app"));
    ASSERT_TRUE(outcome.message->toolCalls);
    ASSERT_EQ(outcome.message->toolCalls->size(), 1u);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^call_[0-9a-f]{8}$"))
                    .match(outcome.message->toolCalls->front().id)
                    .hasMatch());
    EXPECT_EQ(outcome.message->toolCalls->front().function.name, QStringLiteral("hora"));
}

TEST_F(BridgeTurnTest, ClaudeOutcomes) {
    const struct {
        const char* script;
        bool tools;
        std::optional<Kind> kind;
        QString text;
    } cases[] = {
        {R"(echo '{"type":"result","is_error":true,"result":"Not logged in · Please run /login"}')",
         false, Kind::notLoggedIn, "Entre na sua conta pelo Claude Code (Ajustes › IA)"},
        {R"(echo '{"type":"result","is_error":true,"result":"Sessão expirada, use /login"}')",
         false, Kind::notLoggedIn, "Entre na sua conta pelo Claude Code (Ajustes › IA)"},
        {R"(echo '{"type":"result","is_error":true,"result":"Rate limit reached"}')", false,
         Kind::failed, "Claude Code: Rate limit reached"},
        {R"(echo '{"type":"result","is_error":true}'; echo 'API Error: 529' >&2)", false,
         Kind::failed, "Claude Code: API Error: 529"},
        {"echo 'Error: NOT LOGGED IN' >&2; exit 1", false, Kind::notLoggedIn,
         "Entre na sua conta pelo Claude Code (Ajustes › IA)"},
        {"echo 'boom' >&2; exit 1", false, Kind::failed, "Claude Code: boom"},
        {"exit 0", false, Kind::failed, "Claude Code: sem resposta"},
        {R"(echo 'not json'; echo '{"type":"result","is_error":false,"result":"primeira"}'; echo '{"type":"result","is_error":false,"result":"última"}')",
         false, std::nullopt, "última"},
        {R"(echo '{"type":"result","is_error":false,"result":"","structured_output":{"reply":"x"}}')",
         true, Kind::badOutput, "Claude Code devolveu uma resposta que a Nolvea não entendeu"},
        {R"(echo '{"type":"result","is_error":false,"result":"texto livre"}')", true, std::nullopt,
         "texto livre"},
    };
    for (const auto& c : cases) {
        writeTool(QStringLiteral("claude"), c.script);
        const Outcome outcome = chat(AIProvider::claudeAccount, QStringLiteral("sonnet"),
                                     conversation, c.tools ? oneTool() : std::vector<ToolSpec>{});
        EXPECT_EQ(outcome.kind, c.kind) << c.script;
        EXPECT_EQ(outcome.text, c.text) << c.script;
    }
    writeTool(QStringLiteral("claude"),
              R"(printf '%s\n' '{"type":"result","is_error":false,"result":" \n "}')");
    EXPECT_TRUE(chat(AIProvider::claudeAccount, QStringLiteral("sonnet"), conversation).empty);
}

// --- codex ---

constexpr char codexReplies[] = R"(
[ -n "$out" ] && [ -n "$FAKE_REPLY" ] && printf '%s' "$FAKE_REPLY" > "$out"
[ -n "$FAKE_ERR" ] && printf '%s\n' "$FAKE_ERR" >&2
exit ${FAKE_EXIT:-0}
)";

class CodexTurnTest : public BridgeTurnTest {
protected:
    void SetUp() override {
        BridgeTurnTest::SetUp();
        writeTool(QStringLiteral("codex"), codexReplies);
    }
    void TearDown() override {
        for (const char* name : {"FAKE_REPLY", "FAKE_ERR", "FAKE_EXIT"})
            qunsetenv(name);
        BridgeTurnTest::TearDown();
    }
    void answer(const QByteArray& reply, const QByteArray& err = {}, int exit = 0) {
        qputenv("FAKE_REPLY", reply);
        qputenv("FAKE_ERR", err);
        qputenv("FAKE_EXIT", QByteArray::number(exit));
    }
    QStringList fixedArgs(const QString& effort) const {
        const QString folder = readText(QStringLiteral("turnpath"));
        return {"exec",
                "--skip-git-repo-check",
                "--ephemeral",
                "--sandbox",
                "read-only",
                "--color",
                "never",
                "-C",
                folder,
                "-o",
                folder + QStringLiteral("/resposta.txt"),
                "-c",
                QStringLiteral("model_reasoning_effort=") + effort};
    }
};

TEST_F(CodexTurnTest, PlainTurnCommandLineAndInput) {
    answer(" Olá, tudo bem? \n");
    const Outcome outcome = chat(AIProvider::chatgptAccount, QStringLiteral("gpt-6"), conversation);
    ASSERT_TRUE(outcome.message) << outcome.text.toStdString();
    EXPECT_EQ(outcome.text, QStringLiteral("Olá, tudo bem?"));
    const QStringList expected =
        fixedArgs(QStringLiteral("low")) + QStringList{"-m", "gpt-6", "--", "-"};
    EXPECT_EQ(args(), expected);
    EXPECT_EQ(QString::fromUtf8(read(QStringLiteral("stdin"))),
              QStringLiteral("<instrucoes>\nVocê é a Nolvea. Tela: senha123\n\nResponda direto a "
                             "partir do texto abaixo. Não rode comandos nem leia arquivos.\n"
                             "</instrucoes>\n\n<historico>\n[pessoa]: oi\n</historico>\n\n"
                             "Continue a partir do fim do histórico."));
    EXPECT_FALSE(read(QStringLiteral("args")).contains("senha123"));
    const QString folder = readText(QStringLiteral("turnpath"));
    EXPECT_TRUE(QFileInfo(folder).fileName().startsWith(QStringLiteral("nolvea-codex-")));
    EXPECT_EQ(QFileInfo(folder).fileName().size(), 13 + 36);
    EXPECT_EQ(readText(QStringLiteral("turnmode")), QStringLiteral("700"));
    EXPECT_FALSE(QFileInfo::exists(recorded(QStringLiteral("turn/esquema.json"))));
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(CodexTurnTest, ToolsAndImagesBecomeFilesInTheTurnFolder) {
    answer(R"({"reply":"","tool_calls":[{"name":"hora","arguments_json":"{\"a\":1}"}]})");
    const QList<QByteArray> images{"png-0", "png-1", "png-2"};
    std::vector<ChatMessage> messages = conversation;
    messages.push_back(withImages(images));
    const Outcome outcome =
        chat(AIProvider::chatgptAccount, QStringLiteral("gpt-6"), messages, oneTool());
    ASSERT_TRUE(outcome.message) << outcome.text.toStdString();
    ASSERT_TRUE(outcome.message->toolCalls);
    EXPECT_EQ(outcome.message->toolCalls->front().function.arguments, QStringLiteral("{\"a\":1}"));

    const QString folder = readText(QStringLiteral("turnpath"));
    const QStringList expected =
        fixedArgs(QStringLiteral("medium")) + QStringList{"-m",
                                                          "gpt-6",
                                                          "--output-schema",
                                                          folder + QStringLiteral("/esquema.json"),
                                                          "-i",
                                                          folder + QStringLiteral("/tela-0.png"),
                                                          "-i",
                                                          folder + QStringLiteral("/tela-1.png"),
                                                          "-i",
                                                          folder + QStringLiteral("/tela-2.png"),
                                                          "--",
                                                          "-"};
    EXPECT_EQ(args(), expected);
    EXPECT_EQ(read(QStringLiteral("turn/esquema.json")), BridgeReply::schema().toUtf8());
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(read(QStringLiteral("turn/tela-%1.png").arg(n)), images[n]);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(CodexTurnTest, DefaultModelIsNeverPassed) {
    answer("ok");
    for (const auto& [model, passed] :
         {std::pair{QStringLiteral("padrão"), false}, std::pair{QString(), false},
          std::pair{QStringLiteral("meu padrão"), true}}) {
        chat(AIProvider::chatgptAccount, model, conversation);
        const QStringList a = args();
        EXPECT_EQ(a.contains(QStringLiteral("-m")), passed) << model.toStdString();
        if (passed) {
            EXPECT_EQ(a.at(a.indexOf(QStringLiteral("-m")) + 1), model);
        }
    }
}

TEST_F(CodexTurnTest, Outcomes) {
    const struct {
        QByteArray reply, err;
        int exit;
        bool tools;
        std::optional<Kind> kind;
        bool empty;
        QString text;
    } cases[] = {
        {"", "", 0, false, Kind::failed, false, "Codex: sem resposta"},
        {"ok", "a\nb\nTo sign in, run CODEX LOGIN", 1, false, Kind::notLoggedIn, false,
         "Entre na sua conta pelo Codex (Ajustes › IA)"},
        {"", "Error: Not logged in", 1, false, Kind::notLoggedIn, false,
         "Entre na sua conta pelo Codex (Ajustes › IA)"},
        {"", "um\ndois\ntrês\nquatro", 2, false, Kind::failed, false, "Codex: dois três quatro"},
        {" \n\t", "", 0, false, std::nullopt, true, ""},
        {"não é json", "", 0, true, Kind::badOutput, false,
         "Codex devolveu uma resposta que a Nolvea não entendeu"},
    };
    for (const auto& c : cases) {
        answer(c.reply, c.err, c.exit);
        const Outcome outcome = chat(AIProvider::chatgptAccount, QStringLiteral("gpt-6"),
                                     conversation, c.tools ? oneTool() : std::vector<ToolSpec>{});
        EXPECT_EQ(outcome.kind, c.kind) << c.err.constData();
        EXPECT_EQ(outcome.empty, c.empty) << c.err.constData();
        if (!c.empty) {
            EXPECT_EQ(outcome.text, c.text) << c.err.constData();
        }
        EXPECT_FALSE(QFileInfo::exists(readText(QStringLiteral("turnpath"))));
    }
}

TEST_F(CodexTurnTest, FolderIsRemovedAfterATimeout) {
    writeTool(QStringLiteral("codex"), "echo $$ > \"$r/leader\"\nsleep 600");
    auto task = AccountBridge::chat(AIProvider::chatgptAccount, QStringLiteral("gpt-6"),
                                    conversation, std::nullopt, 120);
    ASSERT_TRUE(test::spinUntil([&] { return !readText(QStringLiteral("leader")).isEmpty(); }));
    EXPECT_TRUE(QFileInfo::exists(readText(QStringLiteral("turnpath"))));
    m_clock.advance(std::chrono::seconds(120));
    try {
        test::await(std::move(task));
        FAIL() << "no timeout";
    } catch (const BridgeError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Codex: não respondeu em 120 s"));
    }
    EXPECT_FALSE(QFileInfo::exists(readText(QStringLiteral("turnpath"))));
}

} // namespace
} // namespace nolvea
