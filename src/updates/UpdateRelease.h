#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace nolvea {

// One release as the update site announces it in "downloads/latest.json".
struct UpdateRelease {
    QString version;   // for display only
    qint64 build = 0;  // the only thing compared with the running build
    QUrl url;          // the release archive
    QString sha256;    // 64 hex digits, either case
    QString signature; // Ed25519 over the digest, base64url
    std::optional<QString> notes;
    std::optional<QString> minimumSystemVersion;

    // The manifest's members; nothing when a required one is missing or any has the wrong type.
    static std::optional<UpdateRelease> decode(const QByteArray& json);

    friend bool operator==(const UpdateRelease&, const UpdateRelease&) = default;
};

} // namespace nolvea
