#pragma once

#include "app/DevCommand.h"

#include <QStringList>
#include <qcoro/qcorotask.h>

#include <optional>

namespace nolvea {

class Updater;

// The developer modes run from the command line: each prints its findings as lines on
// standard output and tells whether it passed.
class SelfTest {
public:
    // Runs the mode the arguments ask for: nothing when no flag applies, else whether it
    // passed.
    static QCoro::Task<std::optional<bool>> runIfRequested(QStringList args);
    static QCoro::Task<bool> run(DevCommand command, QStringList args);

    // The routines.
    static bool anthropicFormat();
    static QCoro::Task<bool> update(Updater& updater, bool download);
    static QCoro::Task<bool> idle();
    static bool renderIcon(const QString& folder);
};

} // namespace nolvea
