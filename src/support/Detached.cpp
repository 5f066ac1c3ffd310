#include "support/Detached.h"

#include "support/Error.h"

#include <QDebug>

namespace nolvea::detail {

void logDetachedFailure(const QString& what, std::exception_ptr error) {
    qWarning().noquote() << what + QStringLiteral(": ") + describe(error);
}

} // namespace nolvea::detail
