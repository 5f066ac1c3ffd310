#include "platform/linux/PasswdUserAccount.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace nolvea {

QString PasswdUserAccount::fullName() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_gecos)
        return {};
    // Name, room, phones, other: only the name counts.
    return QString::fromLocal8Bit(found->pw_gecos).section(u',', 0, 0).trimmed();
}

} // namespace nolvea
