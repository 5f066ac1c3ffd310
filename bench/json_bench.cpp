// JSONValue reading and writing on a realistic chat request: 20 messages of an agent run
// (system prompt, tools, mail bodies, file lists, a screenshot part), about 200 KiB, beside
// QJsonDocument on the same bytes.
#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"

#include <QJsonDocument>
#include <benchmark/benchmark.h>

using namespace nolvea;

namespace {

QString paragraph(int i) {
    return QStringLiteral("Olá, segue o relatório %1 com as informações pedidas: prazos, valores "
                          "(R$ 1.234,56), e o link https://exemplo.com.br/docs/%1?x=1&y=2. "
                          "Atenciosamente, equipe de operações — São Paulo.\n")
        .arg(i);
}

QString longText(int paragraphs, int seed) {
    QString out;
    for (int i = 0; i < paragraphs; ++i)
        out += paragraph(seed * 100 + i);
    return out;
}

std::vector<ChatMessage> conversation() {
    std::vector<ChatMessage> m;
    m.push_back({.role = "system", .content = MessageContent::text(longText(12, 0))});
    m.push_back({.role = "user",
                 .content = MessageContent::parts(
                     {{.type = "text", .text = QStringLiteral("O que há de novo na caixa?")},
                      {.type = "image_url",
                       .imageURL = ContentPart::ImageURL{QStringLiteral("data:image/png;base64,") +
                                                         QString(24000, u'A')}}})});
    for (int turn = 0; turn < 9; ++turn) {
        const QString id = QStringLiteral("call_%1").arg(turn);
        m.push_back({.role = "assistant",
                     .toolCalls = std::vector<ToolCall>{
                         {id,
                          "function",
                          {"read_email", QStringLiteral(R"({"id":"%1","limit":10})").arg(turn)}}}});
        m.push_back({.role = "tool",
                     .content = MessageContent::text(longText(95, turn + 1)),
                     .toolCallID = id});
    }
    return m;
}

JSONValue requestBody() {
    JSONValue::Array tools;
    for (int i = 0; i < 20; ++i) {
        const ToolSpec spec{
            .type = "function",
            .function = {
                .name = QStringLiteral("tool_%1").arg(i),
                .description = paragraph(i),
                .parameters = JSONValue::object(
                    {{"type", "object"},
                     {"properties",
                      JSONValue::object({{"query", JSONValue::object({{"type", "string"}})},
                                         {"limit", JSONValue::object({{"type", "number"}})}})},
                     {"required", JSONValue::array({"query"})}})}};
        tools.push_back(spec.toJSON());
    }
    return JSONValue::object({{"model", "modelo-local"},
                              {"temperature", JSONValue::number(0.2)},
                              {"max_tokens", JSONValue::number(16000)},
                              {"messages", ChatMessage::toJSON(conversation())},
                              {"tools", std::move(tools)}});
}

const QByteArray& requestBytes() {
    static const QByteArray bytes = requestBody().compactBytes();
    return bytes;
}

void BM_JSONValueParse(benchmark::State& state) {
    const QByteArray& bytes = requestBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(JSONValue::parse(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

void BM_QJsonDocumentParse(benchmark::State& state) {
    const QByteArray& bytes = requestBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

void BM_JSONValueCompactString(benchmark::State& state) {
    const JSONValue value = *JSONValue::parse(requestBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(value.compactString());
    state.SetBytesProcessed(int64_t(state.iterations()) * requestBytes().size());
}

// The bytes alone, as requests are sent.
void BM_JSONValueCompactBytes(benchmark::State& state) {
    const JSONValue value = *JSONValue::parse(requestBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(value.compactBytes());
    state.SetBytesProcessed(int64_t(state.iterations()) * requestBytes().size());
}

void BM_QJsonDocumentCompact(benchmark::State& state) {
    const QJsonDocument doc = QJsonDocument::fromJson(requestBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.toJson(QJsonDocument::Compact));
    state.SetBytesProcessed(int64_t(state.iterations()) * requestBytes().size());
}

// The whole path of one request: records to JSON to bytes.
void BM_ChatMessagesEncode(benchmark::State& state) {
    const auto messages = conversation();
    for (auto _ : state)
        benchmark::DoNotOptimize(ChatMessage::toJSON(messages).compactBytes());
}

// And back: bytes to records.
void BM_ChatMessagesDecode(benchmark::State& state) {
    const QByteArray bytes = ChatMessage::toJSON(conversation()).compactBytes();
    for (auto _ : state) {
        const auto value = JSONValue::parse(bytes);
        std::vector<ChatMessage> messages;
        for (const auto& item : value->asArray())
            messages.push_back(ChatMessage::fromJSON(item));
        benchmark::DoNotOptimize(messages);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

void BM_RequestSize(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(requestBytes().size());
    state.counters["KiB"] = double(requestBytes().size()) / 1024.0;
}

} // namespace

BENCHMARK(BM_RequestSize);
BENCHMARK(BM_JSONValueParse);
BENCHMARK(BM_QJsonDocumentParse);
BENCHMARK(BM_JSONValueCompactString);
BENCHMARK(BM_JSONValueCompactBytes);
BENCHMARK(BM_QJsonDocumentCompact);
BENCHMARK(BM_ChatMessagesEncode);
BENCHMARK(BM_ChatMessagesDecode);

BENCHMARK_MAIN();
