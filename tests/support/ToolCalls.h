#pragma once

#include "agent/AgentTool.h"
#include "agent/ToolError.h"
#include "support/Async.h"
#include "support/json/JSONValue.h"

namespace nolvea::test {

// Arguments of a tool call written as JSON text.
inline JSONValue args(const char* json) {
    return *JSONValue::parse(QByteArray(json));
}

// The message of the `ToolError` a run throws, or "(no error)".
inline QString toolError(const AgentTool& tool, const JSONValue& arguments) {
    try {
        test::await(tool.run(arguments));
    } catch (const ToolError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace nolvea::test
