#pragma once

#include "ai/BridgeOutput.h"
#include "ai/BridgePrompt.h"

#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

namespace nolvea {

// One chat turn answered by the `codex` tool in a private folder of its own, removed when the
// turn ends: the schema and the images go there as files, the reply comes back in
// "resposta.txt" and the conversation goes in on standard input.
class CodexTurn {
public:
    // Throws `BridgeError`.
    static QCoro::Task<BridgeOutput> run(QString executable, QString model, BridgePrompt prompt,
                                         double timeout);

    // The command line for a turn in `folder`, ending in "--" and "-": the conversation comes
    // on standard input.
    static QStringList arguments(const QString& folder, const QString& model, bool toolsOffered,
                                 std::size_t images);
    // The text the tool reads on standard input.
    static QByteArray instructions(const BridgePrompt& prompt);
};

} // namespace nolvea
