#include "agent/AppleScript.h"

namespace nolvea::AppleScript {

std::optional<ToolError> run(const QString& source) {
    Q_UNUSED(source);
    return ToolError::failed(
        QStringLiteral("Este computador não executa AppleScript: a ação não foi feita."));
}

} // namespace nolvea::AppleScript
