#pragma once

#include <QByteArray>
#include <QString>

// The text encodings of Internet mail: encoded words in headers (RFC 2047), quoted-printable
// and base64 bodies, and charsets.
namespace nolvea::MimeText {

// "=?UTF-8?B?...?=" words decoded; white space between two encoded words dropped.
QString decodeHeader(const QByteArray& raw);
// A header value ready to write: as it is when plain ASCII, else UTF-8 encoded words of at
// most 75 characters, folded onto continuation lines. Line breaks become spaces.
QByteArray encodeHeader(const QString& text, int nameLength);
// A display name and address: "Name <a@b>", the name quoted or encoded as needed.
QByteArray encodeAddress(const QString& name, const QString& address);

QByteArray decodeQuotedPrintable(const QByteArray& data);
QByteArray encodeQuotedPrintable(const QByteArray& data);
// Unknown charsets are read as Latin-1.
QString decodeCharset(const QByteArray& data, const QByteArray& charset);

} // namespace nolvea::MimeText
