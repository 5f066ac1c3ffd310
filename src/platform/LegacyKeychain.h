#pragma once

#include <QString>

namespace nolvea {

// Read-only access to secrets an older version kept in the desktop keyring.
class LegacyKeychain {
public:
    virtual ~LegacyKeychain() = default;
    // The secret stored for `account` under `service`, or "" when there is none or the
    // keyring cannot be reached.
    virtual QString read(const QString& service, const QString& account) = 0;
};

} // namespace nolvea
