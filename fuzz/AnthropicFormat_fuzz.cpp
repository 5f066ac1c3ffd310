// Replies of the Messages interface: a message or a decoding error, nothing else.
#include "FuzzSupport.h"
#include "ai/AnthropicFormat.h"
#include "support/Error.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const ChatMessage message = AnthropicFormat::message(fuzz::bytes(data, size));
        (void)message.text();
        // The reply goes back in the next request, its raw blocks included.
        const JSONValue request =
            AnthropicFormat::request(QStringLiteral("modelo"),
                                     {ChatMessage::ofText(QStringLiteral("user"), "oi"), message,
                                      ChatMessage::ofText(QStringLiteral("user"), "e agora?")},
                                     std::nullopt, 1024);
        FUZZ_CHECK(JSONValue::parse(request.compactBytes()).has_value());
    } catch (const Error& e) {
        FUZZ_CHECK(!e.message().isEmpty());
    }
    return 0;
}
