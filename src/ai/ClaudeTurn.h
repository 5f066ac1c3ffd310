#pragma once

#include "ai/BridgeOutput.h"
#include "ai/BridgePrompt.h"
#include "ai/BridgeRun.h"

#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

namespace nolvea {

// One chat turn answered by the `claude` tool: the history and images go in on standard input
// as one stream-json user message, the system text in a private file.
class ClaudeTurn {
public:
    // Throws `BridgeError`.
    static QCoro::Task<BridgeOutput> run(QString executable, QString model, BridgePrompt prompt,
                                         double timeout);

    static QStringList arguments(const QString& model, const QString& systemFile,
                                 bool toolsOffered);
    // The turn's answer from the tool's stream-json lines: the last "result" event. Throws
    // `BridgeError` when there is none or it reports an error.
    static BridgeOutput output(const BridgeRun& run);
    // The one stream-json line the tool reads.
    static QByteArray input(const BridgePrompt& prompt);
};

} // namespace nolvea
