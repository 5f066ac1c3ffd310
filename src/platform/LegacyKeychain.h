#pragma once

#include <QString>
#include <qcoro/qcorotask.h>

namespace nolvea {

// Read-only access to secrets an older version kept in the desktop keyring.
class LegacyKeychain {
public:
    virtual ~LegacyKeychain() = default;
    // The secret stored for `account` under `service`, or "" when there is none or the
    // keyring cannot be reached. Awaited: the keyring may take its time to answer.
    virtual QCoro::Task<QString> read(QString service, QString account) = 0;
};

} // namespace nolvea
