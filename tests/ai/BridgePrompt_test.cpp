#include "ai/BridgePrompt.h"
#include "ai/BridgeReply.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace nolvea {
namespace {

ContentPart textPart(const QString& text) {
    ContentPart part;
    part.type = QStringLiteral("text");
    part.text = text;
    return part;
}

ContentPart imagePart(const QString& url) {
    ContentPart part;
    part.type = QStringLiteral("image_url");
    part.imageURL = ContentPart::ImageURL{url};
    return part;
}

ToolSpec tool(const QString& name, const QString& description, JSONValue parameters) {
    ToolSpec spec;
    spec.type = QStringLiteral("function");
    spec.function = {name, description, std::move(parameters)};
    return spec;
}

TEST(BridgePromptTest, SystemMessagesAndToolsMakeTheSystemText) {
    const std::vector<ChatMessage> messages{
        ChatMessage::ofText(QStringLiteral("system"), QStringLiteral("Um.")),
        ChatMessage::ofText(QStringLiteral("user"), QStringLiteral("oi")),
        ChatMessage::ofText(QStringLiteral("system"), QStringLiteral("Dois."))};
    for (const auto& none : {std::optional<std::vector<ToolSpec>>(),
                             std::optional<std::vector<ToolSpec>>(std::vector<ToolSpec>{})}) {
        const BridgePrompt prompt = BridgePrompt::make(messages, none);
        EXPECT_EQ(prompt.systemText, QStringLiteral("Um.\n\nDois."));
        EXPECT_FALSE(prompt.toolsOffered);
    }

    const JSONValue schema = JSONValue::object(
        {{QStringLiteral("type"), "object"},
         {QStringLiteral("properties"),
          JSONValue::object({{QStringLiteral("url"),
                              JSONValue::object({{QStringLiteral("type"), "string"},
                                                 {QStringLiteral("description"), "a/b"}})}})}});
    const BridgePrompt prompt = BridgePrompt::make(
        messages, std::vector<ToolSpec>{
                      tool(QStringLiteral("abrir"), QStringLiteral("Abre um site."), schema),
                      tool(QStringLiteral("quebrada"), QStringLiteral("Sem esquema."),
                           JSONValue::object(
                               {{QStringLiteral("n"),
                                 JSONValue::number(std::numeric_limits<double>::infinity())}}))});
    EXPECT_TRUE(prompt.toolsOffered);
    EXPECT_EQ(prompt.systemText,
              QStringLiteral(
                  "Um.\n\nDois.\n\n## Ferramentas do app\nPara usar ferramentas, preencha "
                  "\"tool_calls\" com o nome e \"arguments_json\" (o objeto de argumentos em texto "
                  "JSON, seguindo o esquema) e deixe \"reply\" vazio. Pode chamar várias de uma "
                  "vez. Os resultados voltam no histórico; nunca invente um resultado. Quando "
                  "terminar, escreva a resposta para a pessoa em \"reply\" e deixe \"tool_calls\" "
                  "vazio.\n\n"
                  "- abrir: Abre um site.\n  Argumentos (JSON Schema): "
                  "{\"properties\":{\"url\":{\"description\":\"a/b\",\"type\":\"string\"}},"
                  "\"type\":\"object\"}\n"
                  "- quebrada: Sem esquema.\n  Argumentos (JSON Schema): {}"));
}

TEST(BridgePromptTest, HistoryNamesEachSpeakerAndToolResult) {
    ChatMessage asks;
    asks.role = QStringLiteral("assistant");
    ToolCall call;
    call.id = QStringLiteral("call_1");
    call.type = QStringLiteral("function");
    call.function = {QStringLiteral("hora"), QStringLiteral("{}")};
    asks.toolCalls = std::vector<ToolCall>{call};
    ChatMessage result = ChatMessage::ofText(QStringLiteral("tool"), QStringLiteral("10:30"));
    result.toolCallID = QStringLiteral("call_1");
    ChatMessage orphan = ChatMessage::ofText(QStringLiteral("tool"), QStringLiteral("?"));
    orphan.toolCallID = QStringLiteral("call_9");
    ChatMessage parts;
    parts.role = QStringLiteral("user");
    parts.content = MessageContent::parts({textPart(QStringLiteral("linha 1")),
                                           imagePart(QStringLiteral("data:image/png;base64,AAEC")),
                                           textPart(QStringLiteral("linha 2"))});

    const BridgePrompt prompt = BridgePrompt::make(
        {ChatMessage::ofText(QStringLiteral("system"), QStringLiteral("S")),
         ChatMessage::ofText(QStringLiteral("user"), QStringLiteral("que horas são?")), asks,
         result, orphan,
         ChatMessage::ofText(QStringLiteral("assistant"), QStringLiteral("São 10:30.")), parts},
        std::nullopt);
    EXPECT_EQ(prompt.historyText,
              QStringLiteral("<historico>\n"
                             "[pessoa]: que horas são?\n"
                             "[assistente]: \n[chamada de hora (call_1)]: {}\n"
                             "[resultado de hora]: 10:30\n"
                             "[resultado de ferramenta]: ?\n"
                             "[assistente]: São 10:30.\n"
                             "[pessoa]: linha 1\nlinha 2\n"
                             "</historico>\n\nContinue a partir do fim do histórico."));
}

TEST(BridgePromptTest, ImagesDecodeInOrderAndBadOnesAreSkipped) {
    ChatMessage first;
    first.role = QStringLiteral("user");
    first.content = MessageContent::parts({imagePart(QStringLiteral("data:image/png;base64,AQID")),
                                           imagePart(QStringLiteral("sem-virgula")),
                                           imagePart(QStringLiteral("data:image/png;base64,@@@"))});
    ChatMessage second;
    second.role = QStringLiteral("tool");
    second.content = MessageContent::parts({imagePart(QStringLiteral("data:,BAU="))});
    const BridgePrompt prompt = BridgePrompt::make({first, second}, std::nullopt);
    ASSERT_EQ(prompt.images.size(), 2u);
    EXPECT_EQ(prompt.images[0], QByteArray("\x01\x02\x03"));
    EXPECT_EQ(prompt.images[1], QByteArray("\x04\x05"));
}

TEST(BridgeReplyTest, SchemaIsTheOneLineText) {
    EXPECT_EQ(
        BridgeReply::schema(),
        QStringLiteral(
            R"({"type":"object","additionalProperties":false,"required":["reply","tool_calls"],"properties":{"reply":{"type":"string","description":"Resposta final para a pessoa. Vazia quando for chamar ferramentas."},"tool_calls":{"type":"array","items":{"type":"object","additionalProperties":false,"required":["name","arguments_json"],"properties":{"name":{"type":"string"},"arguments_json":{"type":"string","description":"Objeto JSON com os argumentos, em texto"}}}}}})"));
    EXPECT_TRUE(JSONValue::parse(BridgeReply::schema()));
}

TEST(BridgeReplyTest, DecodesCallsWithFreshIds) {
    const ChatMessage m = BridgeReply::decode(
        R"({"reply":"","tool_calls":[{"name":"hora","arguments_json":"{\"fuso\": \"UTC\"}"},)"
        R"({"name":"hora","arguments_json":"{}"}]})",
        AccountBridge::CLI::codex);
    EXPECT_EQ(m.role, QStringLiteral("assistant"));
    EXPECT_EQ(m.text(), QString());
    ASSERT_TRUE(m.toolCalls);
    ASSERT_EQ(m.toolCalls->size(), 2u);
    const QRegularExpression id(QStringLiteral("^call_[0-9a-f]{8}$"));
    EXPECT_TRUE(id.match((*m.toolCalls)[0].id).hasMatch()) << (*m.toolCalls)[0].id.toStdString();
    EXPECT_NE((*m.toolCalls)[0].id, (*m.toolCalls)[1].id);
    EXPECT_EQ((*m.toolCalls)[0].type, QStringLiteral("function"));
    EXPECT_EQ((*m.toolCalls)[0].function.name, QStringLiteral("hora"));
    EXPECT_EQ((*m.toolCalls)[0].function.arguments, QStringLiteral("{\"fuso\": \"UTC\"}"));

    const ChatMessage answer =
        BridgeReply::decode(R"({"reply":"Pronto.","tool_calls":[]})", AccountBridge::CLI::claude);
    EXPECT_EQ(answer.text(), QStringLiteral("Pronto."));
    EXPECT_FALSE(answer.toolCalls);
}

TEST(BridgeReplyTest, AnythingElseIsBadOutput) {
    for (const char* data :
         {"", "texto", "[]", R"({"reply":"oi"})", R"({"tool_calls":[]})",
          R"({"reply":1,"tool_calls":[]})", R"({"reply":"","tool_calls":[{"name":"x"}]})",
          R"({"reply":"","tool_calls":[{"name":"x","arguments_json":{}}]})",
          R"({"reply":"","tool_calls":["x"]})"}) {
        try {
            BridgeReply::decode(data, AccountBridge::CLI::codex);
            ADD_FAILURE() << data;
        } catch (const AccountBridge::BridgeError& e) {
            EXPECT_EQ(e.kind(), AccountBridge::BridgeError::Kind::badOutput) << data;
            EXPECT_EQ(e.cli(), AccountBridge::CLI::codex);
        }
    }
}

} // namespace
} // namespace nolvea
