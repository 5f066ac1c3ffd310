// A server's standard output as it arrives in pieces: cut into lines, each line read as a
// message, the tool lists and tool results within them flattened.
#include "FuzzSupport.h"
#include "mcp/MCPClient.h"
#include "mcp/MCPError.h"
#include "mcp/MCPIncoming.h"
#include "mcp/MCPLineBuffer.h"

using namespace nolvea;

namespace {

constexpr qsizetype kMaxLine = 4096;

void readMessage(const QByteArray& line) {
    const MCPIncoming incoming = MCPIncoming::read(line);
    // A request with an empty method is still a request (it is answered "method not found").
    if (incoming.kind != MCPIncoming::Kind::result) return;
    const JSONValue& result = incoming.result;
    if (const JSONValue* tools = result.member(QStringLiteral("tools")))
        for (const JSONValue& item : tools->asArray())
            if (const auto tool = MCPClient::toolInfo(item)) FUZZ_CHECK(!tool->name.isNull());
    try {
        const QString text = MCPClient::flattenToolResult(result);
        FUZZ_CHECK(!text.isEmpty());
    } catch (const MCPError& e) {
        FUZZ_CHECK(!e.message().isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte sets the size of the pieces the output arrives in.
    const qsizetype piece = data[0] % 64 + 1;
    const QByteArray output = fuzz::bytes(data + 1, size - 1);

    MCPLineBuffer buffer(kMaxLine);
    std::vector<QByteArray> lines;
    for (qsizetype at = 0; at < output.size(); at += piece)
        for (QByteArray& line : buffer.append(output.mid(at, piece)))
            lines.push_back(std::move(line));

    // The same lines as a plain split, unless an unfinished line outgrew the limit.
    QList<QByteArray> expected = output.split('\n');
    const QByteArray rest = expected.takeLast();
    if (!buffer.overflowed()) {
        FUZZ_CHECK(lines.size() == std::size_t(expected.size()));
        for (std::size_t n = 0; n < lines.size(); ++n)
            FUZZ_CHECK(lines[n] == expected[qsizetype(n)]);
        FUZZ_CHECK(buffer.pending() == rest.size());
    }
    for (const QByteArray& line : lines) {
        FUZZ_CHECK(!line.contains('\n'));
        readMessage(line);
    }
    return 0;
}
