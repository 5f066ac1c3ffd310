// base64url text from the manifest: decoded strictly, and what any encoder writes is read.
#include "FuzzSupport.h"
#include "updates/Base64URL.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    if (const auto decoded = decodeBase64URL(QString::fromLatin1(input)))
        FUZZ_CHECK(decoded->size() <= input.size());
    for (const auto options : {QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals,
                               QByteArray::Base64UrlEncoding | QByteArray::KeepTrailingEquals,
                               QByteArray::Base64Encoding | QByteArray::KeepTrailingEquals}) {
        const auto back = decodeBase64URL(QString::fromLatin1(input.toBase64(options)));
        FUZZ_CHECK(back && *back == input);
    }
    return 0;
}
