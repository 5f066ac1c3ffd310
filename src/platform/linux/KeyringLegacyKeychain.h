#pragma once

#include "platform/LegacyKeychain.h"
#include "support/Clock.h"

namespace nolvea {

// The desktop keyring (Secret Service) through QtKeychain. A keyring that is absent or
// does not answer within `answerLimit` reads as holding nothing.
class KeyringLegacyKeychain final : public LegacyKeychain {
public:
    static constexpr Clock::Duration answerLimit{5000};

    QCoro::Task<QString> read(QString service, QString account) override;
};

} // namespace nolvea
