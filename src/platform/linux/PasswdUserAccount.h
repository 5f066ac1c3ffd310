#pragma once

#include "platform/UserAccount.h"

namespace nolvea {

// The full name from the first field of the user's GECOS entry in the password database.
class PasswdUserAccount final : public UserAccount {
public:
    QString fullName() override;
};

} // namespace nolvea
