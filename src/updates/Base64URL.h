#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace nolvea {

// base64url with or without its trailing "=", the standard alphabet accepted too: "-" and "_"
// become "+" and "/", "=" is added up to a multiple of four, and the result must then be
// strict base64 (any other character, white space included, refuses the whole text).
std::optional<QByteArray> decodeBase64URL(const QString& text);

} // namespace nolvea
