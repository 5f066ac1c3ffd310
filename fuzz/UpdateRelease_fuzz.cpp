// The update site's manifest: a release with every required member, or nothing.
#include "FuzzSupport.h"
#include "updates/UpdateRelease.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto release = UpdateRelease::decode(fuzz::bytes(data, size));
    if (!release) return 0;
    FUZZ_CHECK(!release->version.isNull() && !release->sha256.isNull());
    return 0;
}
