#include "ai/ChatMessage.h"
#include "ai/DecodingError.h"
#include "ai/ToolSpec.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

JSONValue parseJSON(const char* text) {
    auto v = JSONValue::parse(QByteArray(text));
    EXPECT_TRUE(v) << text;
    return v.value_or(JSONValue());
}

ChatMessage decode(const char* text) {
    return ChatMessage::fromJSON(parseJSON(text));
}

ContentPart textPart(const QString& t) {
    return {.type = QStringLiteral("text"), .text = t};
}

ContentPart imagePart(const QString& url) {
    return {.type = QStringLiteral("image_url"), .imageURL = ContentPart::ImageURL{url}};
}

} // namespace

TEST(ChatMessage, EncodesOnlyPresentKeysSortedWithBareSlashes) {
    struct Case {
        const char* name;
        ChatMessage message;
        const char* json;
    };
    const Case cases[] = {
        {"role only", {.role = QStringLiteral("assistant")}, R"({"role":"assistant"})"},
        {"system text",
         {.role = QStringLiteral("system"), .content = MessageContent::text("a/b \"c\"\n")},
         R"({"content":"a/b \"c\"\n","role":"system"})"},
        {"tool result",
         {.role = QStringLiteral("tool"),
          .content = MessageContent::text("ok"),
          .toolCallID = QStringLiteral("call_1")},
         R"({"content":"ok","role":"tool","tool_call_id":"call_1"})"},
        {"tool calls, arguments stay text",
         {.role = QStringLiteral("assistant"),
          .toolCalls = std::vector<ToolCall>{{"c1", "function", {"calc", "{}"}}}},
         R"({"role":"assistant","tool_calls":[{"function":{"arguments":"{}","name":"calc"},"id":"c1","type":"function"}]})"},
        {"empty tool call list is written",
         {.role = QStringLiteral("assistant"), .toolCalls = std::vector<ToolCall>{}},
         R"({"role":"assistant","tool_calls":[]})"},
        {"parts with image",
         {.role = QStringLiteral("user"),
          .content = MessageContent::parts(
              {textPart("veja"), imagePart("data:image/png;base64,iVBO+/=")})},
         R"({"content":[{"text":"veja","type":"text"},{"image_url":{"url":"data:image/png;base64,iVBO+/="},"type":"image_url"}],"role":"user"})"},
        {"provider blocks never written",
         {.role = QStringLiteral("assistant"),
          .content = MessageContent::text("oi"),
          .providerBlocks = parseJSON(R"([{"type":"thinking","thinking":"x"}])")},
         R"({"content":"oi","role":"assistant"})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.message.toJSON().compactString(), QString::fromUtf8(c.json));
    }
}

TEST(ChatMessage, RoundTripsThroughJSONWithoutProviderBlocks) {
    ChatMessage m{.role = QStringLiteral("assistant"),
                  .content = MessageContent::parts({textPart("a"), imagePart("data:x")}),
                  .toolCalls = std::vector<ToolCall>{{"id1", "function", {"f", R"({"a":1})"}}},
                  .toolCallID = QStringLiteral("t"),
                  .providerBlocks = JSONValue::array({"block"})};
    const ChatMessage back = ChatMessage::fromJSON(m.toJSON());
    EXPECT_FALSE(back.providerBlocks);
    m.providerBlocks.reset();
    EXPECT_EQ(back, m);
}

TEST(ChatMessage, DecodesReplies) {
    const auto withCalls = decode(
        R"({"role":"assistant","content":null,"tool_calls":[{"id":"c","type":"function",
            "function":{"name":"n","arguments":"{\"x\":1}"}}],"extra":5})");
    EXPECT_FALSE(withCalls.content);
    ASSERT_TRUE(withCalls.toolCalls);
    ASSERT_EQ(withCalls.toolCalls->size(), 1u);
    EXPECT_EQ(withCalls.toolCalls->at(0).function.arguments, QStringLiteral(R"({"x":1})"));
    EXPECT_EQ(withCalls.text(), QString());
    EXPECT_FALSE(withCalls.toolCallID);

    const auto nulls = decode(R"({"role":"x","tool_calls":null,"tool_call_id":null})");
    EXPECT_EQ(nulls, ChatMessage{.role = QStringLiteral("x")});

    const auto parts = decode(R"({"role":"user","content":[{"type":"text","text":"um"},
        {"type":"image_url","image_url":{"url":"data:a"}},{"type":"text","text":"dois"}]})");
    ASSERT_TRUE(parts.content && parts.content->isParts());
    EXPECT_EQ(parts.content->asParts().size(), 3u);
    EXPECT_EQ(parts.text(), QStringLiteral("um\ndois")); // the image adds no separator

    EXPECT_EQ(decode(R"({"role":"user","content":"só texto"})").text(), QStringLiteral("só texto"));
    EXPECT_EQ(decode(R"({"role":"user","content":[]})").text(), QString());
}

TEST(ChatMessage, RejectsMalformedReplies) {
    struct Case {
        const char* json;
        const char* path; // where the error points
    };
    const Case cases[] = {
        {R"({"content":"x"})", "role"},
        {R"({"role":null})", "role"},
        {R"({"role":"a","content":5})", "content"},
        {R"({"role":"a","content":{"type":"text"}})", "content"},
        {R"({"role":"a","content":[{"text":"x"}]})", "content[0].type"},
        {R"({"role":"a","content":[{"type":"image_url","image_url":{}}]})",
         "content[0].image_url.url"},
        {R"({"role":"a","tool_calls":{}})", "tool_calls"},
        {R"({"role":"a","tool_calls":[{"id":"c","function":{"name":"n","arguments":"{}"}}]})",
         "tool_calls[0].type"},
        {R"({"role":"a","tool_calls":[{"id":"c","type":"function","function":{"name":"n","arguments":{}}}]})",
         "tool_calls[0].function.arguments"},
        {R"({"role":"a","tool_calls":[{"id":"c","type":"function"}]})", "tool_calls[0].function"},
        {R"({"role":"a","tool_call_id":7})", "tool_call_id"},
        {R"(["role"])", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        try {
            decode(c.json);
            ADD_FAILURE() << "decoded";
        } catch (const DecodingError& e) {
            EXPECT_EQ(e.path(), QString::fromUtf8(c.path));
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Resposta inválida")));
        }
    }
}

TEST(ChatMessage, ContentThatIsNeitherTextNorListFailsAsAList) {
    try {
        MessageContent::fromJSON(JSONValue::number(3), QStringLiteral("content"));
        FAIL();
    } catch (const DecodingError& e) {
        EXPECT_EQ(e.kind(), DecodingError::Kind::wrongType);
        EXPECT_TRUE(e.message().contains(QStringLiteral("uma lista")));
    }
}

TEST(ToolSpec, WritesEveryKeyWithSchemaAsJSON) {
    const ToolSpec spec{
        .type = QStringLiteral("function"),
        .function = {.name = QStringLiteral("calc"),
                     .description = QString(),
                     .parameters = parseJSON(R"({"type":"object","required":[]})")}};
    EXPECT_EQ(spec.toJSON().compactString(),
              QStringLiteral(R"({"function":{"description":"","name":"calc","parameters":)"
                             R"({"required":[],"type":"object"}},"type":"function"})"));
}
