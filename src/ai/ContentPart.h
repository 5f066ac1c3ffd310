#pragma once

#include "support/json/JSONValue.h"

#include <QString>

#include <optional>

namespace nolvea {

// One part of a message body: a text, or an image travelling as a data URL.
struct ContentPart {
    struct ImageURL {
        QString url{};
        bool operator==(const ImageURL&) const = default;
    };

    QString type{}; // "text" or "image_url"
    std::optional<QString> text{};
    std::optional<ImageURL> imageURL{};

    JSONValue toJSON() const;
    // Throws `DecodingError`; `path` prefixes the error's location.
    static ContentPart fromJSON(const JSONValue& value, const QString& path = {});

    bool operator==(const ContentPart&) const = default;
};

} // namespace nolvea
