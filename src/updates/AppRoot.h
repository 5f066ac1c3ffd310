#pragma once

#include <QString>

namespace nolvea {

// The installed application on Linux: a folder that holds `bin/nolvea` and `share/nolvea`, as
// `cmake --install` lays it out. Only such a folder, holding nothing else, is ever replaced:
// never a prefix shared with other programs (/usr, ~/.local) nor a build folder.
class AppRoot {
public:
    // The folder two levels above the program at `executable` ("<root>/bin/nolvea"),
    // links resolved; empty when the program does not sit in a "bin" folder.
    static QString of(const QString& executable);

    // Holds exactly "bin" with the program "nolvea" alone, and "share" with "nolvea" alone.
    static bool isRecognised(const QString& root);

    // This user may rename the root within its parent and empty it.
    static bool isReplaceable(const QString& root);

    // The folder that holds the root, named in messages.
    static QString holder(const QString& root);
};

} // namespace nolvea
