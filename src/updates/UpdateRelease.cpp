#include "updates/UpdateRelease.h"

#include "support/json/JSONValue.h"

#include <cmath>

namespace nolvea {

namespace {

const JSONValue* present(const JSONValue& object, const QString& key) {
    const JSONValue* v = object.member(key);
    return (v && !v->isNull()) ? v : nullptr;
}

} // namespace

std::optional<UpdateRelease> UpdateRelease::decode(const QByteArray& json) {
    const auto root = JSONValue::parse(json);
    if (!root || !root->isObject()) return std::nullopt;

    const auto text = [&](const char* key) -> std::optional<QString> {
        const JSONValue* v = present(*root, QString::fromLatin1(key));
        return v ? v->asString() : std::nullopt;
    };

    UpdateRelease r;
    const auto version = text("version");
    const auto sha256 = text("sha256");
    const auto signature = text("signature");
    const auto url = text("url");
    const JSONValue* build = present(*root, QStringLiteral("build"));
    if (!version || !sha256 || !signature || !url || !build) return std::nullopt;

    const auto number = build->asNumber();
    if (!number || std::trunc(*number) != *number || std::abs(*number) > 9.0e15)
        return std::nullopt;
    r.build = qint64(*number);

    r.url = QUrl(*url, QUrl::StrictMode);
    if (url->isEmpty() || !r.url.isValid()) return std::nullopt;
    r.version = *version;
    r.sha256 = *sha256;
    r.signature = *signature;

    // An optional member may be absent or null; present, it must be a string.
    for (auto [key, field] : {std::pair{"notes", &r.notes},
                              std::pair{"minimumSystemVersion", &r.minimumSystemVersion}}) {
        const JSONValue* v = present(*root, QString::fromLatin1(key));
        if (!v) continue;
        if (!v->isString()) return std::nullopt;
        *field = v->asString();
    }
    return r;
}

} // namespace nolvea
