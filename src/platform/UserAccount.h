#pragma once

#include <QString>

namespace nolvea {

// The account the program runs under.
class UserAccount {
public:
    virtual ~UserAccount() = default;
    // The person's full name as the system records it; "" when it records none.
    virtual QString fullName() = 0;
};

} // namespace nolvea
