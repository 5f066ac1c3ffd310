#pragma once

#include "ai/AccountBridge.h"
#include "ai/ChatMessage.h"

#include <QByteArray>
#include <QString>

namespace nolvea {

// The structured reply the account tools are asked for when tools are offered: the answer for
// the person, or the tool calls to run.
class BridgeReply {
public:
    // The JSON Schema of the reply, as one line.
    static const QString& schema();

    // The reply as an assistant message whose calls have fresh "call_" ids. Throws
    // `BridgeError::badOutput` when the data does not follow the schema.
    static ChatMessage decode(const QByteArray& data, AccountBridge::CLI cli);
};

} // namespace nolvea
