// mcp.json after a hand edit: a configuration that survives being written, or an error.
#include "FuzzSupport.h"
#include "mcp/MCPConfigFile.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto decoded = MCPConfigFile::decode(fuzz::bytes(data, size));
    if (const auto* error = std::get_if<MCPError>(&decoded)) {
        FUZZ_CHECK(!error->message().isEmpty());
        return 0;
    }
    const MCPConfigFile& config = std::get<MCPConfigFile>(decoded);
    const auto again = MCPConfigFile::decode(config.encode());
    const auto* read = std::get_if<MCPConfigFile>(&again);
    FUZZ_CHECK(read && *read == config);
    return 0;
}
