#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace nolvea {

// The running system's version, as far as releases care: Debian's major version from an
// os-release file. Any other system, or one that states no version, is unknown.
class SystemVersion {
public:
    static std::optional<int> debianMajor(const QString& osReleasePath);

    // Major and minor of a minimum version text: the pieces between points that are decimal
    // integers, in order ("26.1.5" → 26, 1; "26" → 26, 0; "beta" → 0, 0).
    static std::pair<qint64, qint64> minimum(const QString& text);

    // Whether a release needing `minimum` runs here; always on an unknown system.
    static bool supports(const std::optional<QString>& minimum, const QString& osReleasePath);
};

} // namespace nolvea
