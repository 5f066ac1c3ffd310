#pragma once

#include "ai/AccountBridge.h"
#include "ai/BridgeRun.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>

namespace nolvea {

// Runs one account tool to its end as a `ChildProcess`, without ever hanging: standard input is
// fed while both outputs are read, and at the limit the whole group gets SIGTERM, then SIGKILL
// after a short grace.
class BridgeRunner {
public:
    static constexpr std::chrono::milliseconds killGrace{2000};

    // Throws `BridgeError::failed` when the tool cannot start or outlives `timeout` seconds.
    // Without `input` the tool reads the null device.
    static QCoro::Task<BridgeRun> run(QString program, QStringList arguments,
                                      AccountBridge::CLI cli, std::optional<QByteArray> input,
                                      double timeout);

    // The environment a tool gets: ours without the API keys that would bypass the logged-in
    // account, and a PATH that starts with the usual tool folders.
    static QProcessEnvironment environment(AccountBridge::CLI cli);
    // The private folder the tools run in, made on demand.
    static QString workingFolder();
    // A broken pipe to a child that stopped reading must not end this process.
    static void ignoreBrokenPipes();
};

} // namespace nolvea
