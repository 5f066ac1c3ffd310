#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace nolvea {

// The program's identity as fixed when it was configured: version, build number, update site
// and the key that signs releases. Values are looked up by their key in a small table of
// compile-time values, with the same rules a value from any other source would follow.
namespace Distribution {

// The raw value stored under `key` ("VemkaSiteURL", "CFBundleShortVersionString",
// "CFBundleVersion"); nothing for an unknown key.
std::optional<QString> value(const QString& key);

// The address stored under `key`, when it is set, expanded and parses as an address.
std::optional<QUrl> url(const QString& key);
QString version();
// The build number; 0 when it is not a decimal integer.
qint64 build();
// The base64url text of the Ed25519 public key that signs releases.
QString updatePublicKey();

// The rules, over a raw value.
std::optional<QUrl> urlFrom(const std::optional<QString>& raw);
QString versionFrom(const std::optional<QString>& raw);
qint64 buildFrom(const std::optional<QString>& raw);
// A decimal integer with an optional sign and nothing else; nothing when out of range.
std::optional<qint64> parseInteger(const QString& text);

} // namespace Distribution

} // namespace nolvea
