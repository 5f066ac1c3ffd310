#include "agent/ToolArguments.h"

#include "agent/ToolError.h"

namespace nolvea {

QString requiredArgument(const JSONValue& arguments, const QString& key) {
    if (auto v = arguments.optional(key)) return *v;
    throw ToolError::missing(key);
}

} // namespace nolvea
