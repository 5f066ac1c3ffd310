// Replies of OpenAI-compatible servers: a message or a decoding error, nothing else.
#include "FuzzSupport.h"
#include "ai/OpenAIFormat.h"
#include "support/Error.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const ChatMessage message = OpenAIFormat::message(fuzz::bytes(data, size));
        // What was read can be kept in the conversation and read again.
        (void)message.text();
        const ChatMessage again = ChatMessage::fromJSON(message.toJSON());
        FUZZ_CHECK(again.role == message.role);
    } catch (const Error& e) {
        FUZZ_CHECK(!e.message().isEmpty());
    }
    return 0;
}
