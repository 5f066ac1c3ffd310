// What the account tools print: the structured reply, the claude stream, the status commands.
#include "FuzzSupport.h"
#include "ai/AccountBridge.h"
#include "ai/BridgeReply.h"
#include "ai/ClaudeTurn.h"
#include "support/Error.h"

using namespace nolvea;
using CLI = AccountBridge::CLI;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    for (const CLI cli : {CLI::claude, CLI::codex}) {
        try {
            const ChatMessage message = BridgeReply::decode(input, cli);
            if (message.toolCalls)
                for (const ToolCall& call : *message.toolCalls)
                    FUZZ_CHECK(call.id.startsWith(QStringLiteral("call_")));
        } catch (const Error& e) {
            FUZZ_CHECK(!e.message().isEmpty());
        }
        const AccountBridge::Status status =
            AccountBridge::readStatus(cli, BridgeRun{0, input, input.right(64)});
        FUZZ_CHECK(status.installed);
    }
    // Standard output and standard error of one claude turn, split at the first NUL.
    const qsizetype cut = input.indexOf('\0');
    const BridgeRun run{1, cut < 0 ? input : input.left(cut),
                        cut < 0 ? QByteArray() : input.mid(cut + 1)};
    try {
        const BridgeOutput output = ClaudeTurn::output(run);
        if (output.structured) FUZZ_CHECK(JSONValue::parse(*output.structured).has_value());
    } catch (const Error& e) {
        FUZZ_CHECK(!e.message().isEmpty());
    }
    return 0;
}
