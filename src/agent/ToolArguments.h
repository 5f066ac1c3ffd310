#pragma once

#include "support/json/JSONValue.h"

#include <QString>

namespace nolvea {

// A tool argument's text form, trimmed, as `JSONValue::optional` gives it; throws
// `ToolError::missing(key)` where that gives nothing.
QString requiredArgument(const JSONValue& arguments, const QString& key);

} // namespace nolvea
