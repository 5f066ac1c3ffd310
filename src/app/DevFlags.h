#pragma once

#include "app/DevCommand.h"

#include <QStringList>

#include <optional>

namespace nolvea {

// Reading the developer flags off a command line (program path included).
class DevFlags {
public:
    // Whether the process runs a developer mode instead of the application: an argument that
    // begins with "--selftest" or "--render-".
    static bool selectsDeveloperMode(const QStringList& args);

    // The mode that runs: the first flag of the table that applies. A valued flag applies when
    // an argument follows its first occurrence; flags match whole arguments only.
    static std::optional<DevCommand> scan(const QStringList& args);

    // The follow-up requests of "--then": each "--then" with an argument after it, over the
    // whole list, in order.
    static QStringList followUps(const QStringList& args);
};

} // namespace nolvea
