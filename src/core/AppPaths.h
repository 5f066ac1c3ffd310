#pragma once

#include <QString>

namespace nolvea {

// Where the system keeps its own files.
class AppPaths {
public:
    // The data folder, $XDG_DATA_HOME/Falantorix; created (0700) on first use.
    static QString support();
    // A file inside the data folder.
    static QString file(const QString& name);
    // Where an unreadable file is moved before it would be replaced: "<path>.bad-<UTC stamp>".
    static QString asideName(const QString& path);
};

} // namespace nolvea
