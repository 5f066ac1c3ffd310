// Messages in the person's mail folders and the MIME encodings inside them.
#include "FuzzSupport.h"
#include "agent/MailMessage.h"
#include "agent/MimeText.h"

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    const MailMessage message = MailMessage::parse(input);
    const MailMessage headers = MailMessage::parse(input, true);
    FUZZ_CHECK(headers.headers == message.headers);
    for (const auto& [name, value] : message.headers) {
        (void)MimeText::decodeHeader(value);
    }

    // What we write, we read back.
    FUZZ_CHECK(MimeText::decodeQuotedPrintable(MimeText::encodeQuotedPrintable(input)) == input);
    (void)MimeText::decodeQuotedPrintable(input);
    const QString text = QString::fromUtf8(input).simplified();
    FUZZ_CHECK(MimeText::decodeHeader(MimeText::encodeHeader(text, 7)).simplified() == text);
    (void)MimeText::encodeAddress(text, QStringLiteral("ana@example.com"));
    (void)MimeText::decodeCharset(input, input.left(12));
    return 0;
}
