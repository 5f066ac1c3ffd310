#include "agent/AppleScript.h"

#include "agent/ToolError.h"

namespace nolvea::AppleScript {

void run(const QString& source) {
    Q_UNUSED(source);
    throw ToolError::failed(
        QStringLiteral("Este computador não executa AppleScript: a ação não foi feita."));
}

} // namespace nolvea::AppleScript
