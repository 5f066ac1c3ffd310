#pragma once

#include "support/json/JSONValue.h"

#include <QByteArray>
#include <QString>

namespace nolvea {

// One line from a server, as far as the client cares: a request it must answer, the reply to
// one of its own requests, or nothing (a notification, or anything it cannot read).
struct MCPIncoming {
    enum class Kind { ignored, serverRequest, result, error };

    Kind kind = Kind::ignored;
    QString method;    // serverRequest
    JSONValue id;      // serverRequest: the id as the server wrote it
    qint64 number = 0; // result and error: the request answered
    JSONValue result;  // result; null when the reply carried none
    QString message;   // error

    static MCPIncoming read(const QByteArray& line);
};

} // namespace nolvea
