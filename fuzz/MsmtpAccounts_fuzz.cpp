// msmtp configuration files as people write them.
#include "FuzzSupport.h"
#include "agent/MsmtpAccounts.h"

#include <QSet>

using namespace nolvea;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList addresses = MsmtpAccounts::parse(QString::fromUtf8(fuzz::bytes(data, size)));
    // Each address once.
    FUZZ_CHECK(QSet<QString>(addresses.begin(), addresses.end()).size() == addresses.size());
    return 0;
}
