#pragma once

#include "platform/LegacyKeychain.h"

namespace nolvea {

// The desktop keyring (Secret Service) through QtKeychain. A keyring that is absent or
// does not answer within a few seconds reads as holding nothing.
class KeyringLegacyKeychain final : public LegacyKeychain {
public:
    QString read(const QString& service, const QString& account) override;
};

} // namespace nolvea
