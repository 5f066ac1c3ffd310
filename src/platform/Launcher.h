#pragma once

#include <QString>
#include <QUrl>

namespace nolvea {

// Opens things with the desktop's applications. Every operation either started something or
// throws `LaunchError`: nothing fails silently.
class Launcher {
public:
    virtual ~Launcher() = default;

    // Opens an existing file or folder with its default application.
    virtual void openFile(const QString& path) = 0;
    // Shows an existing file or folder selected in the file manager (or its folder opened).
    virtual void revealFile(const QString& path) = 0;
    // Opens an address with the application registered for its scheme.
    virtual void openURL(const QUrl& url) = 0;
    // Starts (or brings forward) the installed application known by `name`.
    virtual void openApplication(const QString& name) = 0;
};

} // namespace nolvea
