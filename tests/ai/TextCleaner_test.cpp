#include "ai/LLMError.h"
#include "ai/TextCleaner.h"
#include "ai/TextJoiner.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

using namespace nolvea;
using test::HttpResponse;

namespace {

ScreenContext context(const QString& appName, const QString& bundleID, const QString& before) {
    ScreenContext c;
    c.appName = appName;
    c.bundleID = bundleID;
    c.textBeforeCursor = before;
    return c;
}

TEST(TextCleanerPrompt, ContextBlockSaysOnlyWhatIsKnown) {
    const QString unfinished =
        "A frase anterior não terminou: continue sem inicial maiúscula se fizer sentido.";
    const QString caret = "Texto que já está antes do cursor (não repita): «";
    struct Case {
        ScreenContext context;
        QStringList vocabulary;
        QString block; // between <contexto> and </contexto>; "" for none
    };
    const QString long500 = QString(300, u'a') + QString(200, u'b');
    const std::vector<Case> cases = {
        {ScreenContext::empty(), {}, ""},
        {context("Editor", "org.example.editor", ""), {}, "O texto será colado no app Editor."},
        {context("Slack", "com.tinyspeck.slackmacgap", ""),
         {},
         "O texto será colado no app Slack — chat (tom conversacional)."},
        {ScreenContext::empty(),
         {"Nolvea", "Vemka"},
         "Grafias corretas de nomes e termos: Nolvea, Vemka."},
        {context("", "", "Oi,"), {}, caret + "Oi,» " + unfinished},
        {context("", "", "Fim."), {}, caret + "Fim.»"},
        {context("", "", "\n\r\n"), {}, ""},
        {context("", "", "\n  lista:\n\n"), {}, caret + "  lista:»"},
        {context("", "", long500), {}, caret + QString(200, u'b') + "» " + unfinished},
        {context("Terminal", "org.gnome.Terminal", "ls"),
         {"Nolvea"},
         "O texto será colado no app Terminal — ferramenta de programação (preserve termos "
         "técnicos em inglês). Grafias corretas de nomes e termos: Nolvea. " +
             caret + "ls» " + unfinished},
    };
    for (const Case& c : cases) {
        const QString expected =
            (c.block.isEmpty() ? QString() : "<contexto>" + c.block + "</contexto>\n") +
            "<transcricao>olá <b></transcricao>";
        EXPECT_EQ(TextCleaner::userContent("olá <b>", c.context, c.vocabulary), expected)
            << c.block.toStdString();
    }
}

TEST(TextCleanerPrompt, FixedMessagesAreTheSystemPromptThenSixExamples) {
    ASSERT_EQ(TextCleaner::fixedMessages().size(), 1u);
    const ChatMessage& system = TextCleaner::fixedMessages().front();
    EXPECT_EQ(system.role, "system");
    EXPECT_EQ(system.text().size(), 1334);
    EXPECT_TRUE(system.text().startsWith("Você é um editor de ditado."));
    EXPECT_TRUE(system.text().endsWith("Responda apenas com o texto final, sem aspas e sem tags."));
    EXPECT_TRUE(system.text().contains("\"na terça, não, quis dizer quarta\" → \"na quarta\"."));
    const auto& examples = TextCleaner::examples();
    ASSERT_EQ(examples.size(), 6u);
    for (std::size_t i = 0; i < examples.size(); ++i)
        EXPECT_EQ(examples[i].role, i % 2 == 0 ? "user" : "assistant");
    EXPECT_EQ(examples[1].text(),
              "Eu acho que a gente devia mudar o nome do botão pra \"Concluir\".");
    EXPECT_EQ(examples[5].text(),
              "Oi, pessoal! O deploy vai ser hoje às 18h. Escreve pro time avisando, tá?");
}

TEST(TextCleanerReply, StrippingTable) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"  Olá, mundo.\n", "Olá, mundo."},
        {"<transcricao>Olá.</transcricao>", "Olá."},
        {"<contexto>App X.</contexto>\nOlá.", "Olá."},
        {"\"Olá.\"", "Olá."},
        {"\"Ele disse \"oi\".\"", "\"Ele disse \"oi\".\""},
        {"\"", "\""},
        {"\"\"", ""},
        // The quote rule runs before the second trim: after the context block the line break
        // still stands in front of the quote.
        {"<contexto>x</contexto>\n\"Olá.\"", "\"Olá.\""},
        {"a</contexto>b</contexto>c", "b</contexto>c"},
    };
    for (const auto& [reply, stripped] : cases)
        EXPECT_EQ(TextCleaner::strip(reply), stripped) << reply.toStdString();
}

TEST(TextCleanerReply, EmptyOrOverlongResultsFallBackToTheTranscript) {
    const QString transcript(10, u't');
    EXPECT_EQ(TextCleaner::accept(QString(60, u'r'), transcript), QString(60, u'r'));
    EXPECT_EQ(TextCleaner::accept(QString(61, u'r'), transcript), transcript);
    EXPECT_EQ(TextCleaner::accept("", transcript), transcript);
    // Characters, not code units: 60 emoji are 60 characters.
    QString emoji;
    for (int i = 0; i < 60; ++i)
        emoji += QString::fromUtf8("👍🏽");
    EXPECT_EQ(TextCleaner::accept(emoji, transcript), emoji);
}

TEST(TextCleanerChat, OneTurnWithTheExamplesAndTheTranscriptLimits) {
    test::LoopbackServer server;
    server.enqueue(
        "POST", "/v1/chat/completions",
        HttpResponse::json(
            R"({"choices":[{"message":{"role":"assistant","content":"<transcricao>Oi, tudo bem?</transcricao>\n"}}]})"));
    server.enqueue(
        "POST", "/v1/chat/completions",
        HttpResponse::json(R"({"choices":[{"message":{"role":"assistant","content":"   "}}]})"));
    server.enqueue("POST", "/v1/chat/completions", HttpResponse::json("{}", 503));
    const TextCleaner cleaner(LLMClient{AIProvider::lmStudio, server.url("/v1"), "qwen", {}});
    const QString transcript = QString::fromUtf8("oi tudo bem né");
    EXPECT_EQ(test::await(cleaner.clean(transcript, context("Slack", "com.slack", ""), {})),
              "Oi, tudo bem?");

    const JSONValue body = *JSONValue::parse(server.lastRequest().body);
    EXPECT_EQ(body["temperature"], JSONValue::number(0.1));
    EXPECT_EQ(body["max_tokens"], JSONValue::number(transcript.size() + 64));
    EXPECT_FALSE(body["tools"]);
    const auto& messages = body["messages"]->asArray();
    ASSERT_EQ(messages.size(), 8u);
    EXPECT_EQ(messages[0], TextCleaner::fixedMessages().front().toJSON());
    EXPECT_EQ(messages[6], TextCleaner::examples().back().toJSON());
    EXPECT_EQ(messages[7]["content"],
              JSONValue("<contexto>O texto será colado no app Slack — chat (tom "
                        "conversacional).</contexto>\n<transcricao>oi tudo bem né</transcricao>"));

    EXPECT_EQ(test::await(cleaner.clean(transcript, ScreenContext::empty(), {})), transcript);
    try {
        test::await(cleaner.clean(transcript, ScreenContext::empty(), {}));
        ADD_FAILURE() << "the failure was swallowed";
    } catch (const LLMError& e) {
        EXPECT_EQ(e.status(), 503);
    }
}

TEST(TextJoiner, SpaceOnlyWhereTheTextWouldStick) {
    struct Case {
        QString text;
        QString previous;
        QString joined;
    };
    const std::vector<Case> cases = {
        {"mundo", "olá", " mundo"},
        {"mundo", "olá ", "mundo"},
        {"mundo", "(", "mundo"},
        {"mundo", "a/", "mundo"},
        {"mundo", "\"", "mundo"},
        {"mundo", "fim\n", "mundo"},
        {"mundo", "", "mundo"},
        {"", "olá", ""},
        {", e", "olá", ", e"},
        {") fim", "x", ") fim"},
        {"?", "x", "?"},
        {"Mundo", "a.", " Mundo"},
        {"mundo", "olá\u00a0", "mundo"},
        {"mundo", "🙂", " mundo"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextJoiner::prepare(c.text, c.previous), c.joined)
            << c.text.toStdString() << " | " << c.previous.toStdString();
}

} // namespace
