#pragma once

#include "updates/UpdateFailure.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea {

// The shell script that replaces the application root once the running process has quit: it
// copies the new root beside the old one, swaps the two by renaming, removes the old one only
// after the swap, puts it back if the swap fails, removes the work folder and starts whichever
// root is in place. Paths reach it only as arguments.
class ReplacementScript {
public:
    static QString text();
    // "/bin/sh" arguments: "-c", the text, then $0 and the script's own arguments.
    static QStringList arguments(qint64 pid, const QString& root, const QString& newRoot,
                                 const QString& workFolder);
    // Starts the script outside this process. Nothing when it runs; the failure when the shell
    // cannot be started.
    [[nodiscard]] static std::optional<UpdateFailure>
    start(qint64 pid, const QString& root, const QString& newRoot, const QString& workFolder);
};

} // namespace nolvea
