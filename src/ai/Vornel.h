#pragma once

#include <QString>
#include <qcoro/qcorotask.h>

namespace nolvea {

struct LLMClient;

// The sibling local inference server, started on demand. This build cannot start or query
// it: it reports the server as absent.
class Vornel {
public:
    // The executable looked up on PATH.
    static QString executableName();

    // Whether the client is served by the Vornel server on this machine: the custom provider,
    // a model naming "vornel", a loopback address and the server's executable installed.
    static bool matches(const LLMClient& client);

    // Returns once the server is ready; throws `LLMError::offline("O Vornel")` when it cannot
    // be started.
    static QCoro::Task<> ensureRunning(const LLMClient& client);

    // Whether the server may be stopped now (true when its status cannot be read).
    static QCoro::Task<bool> stopIfIdle(const LLMClient& client);

    static QString subject() { return QStringLiteral("O Vornel"); }
};

} // namespace nolvea
