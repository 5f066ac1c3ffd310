#pragma once

#include "platform/Launcher.h"

namespace nolvea {

class DesktopEntry;

// Opens things the freedesktop way: default applications from the mimeapps lists, programs
// from .desktop files, started directly (no shell) and detached from us.
class XdgLauncher final : public Launcher {
public:
    void openFile(const QString& path) override;
    void revealFile(const QString& path) override;
    void openURL(const QUrl& url) override;
    void openApplication(const QString& name) override;

private:
    static void launch(const DesktopEntry& entry, const QStringList& targets);
};

} // namespace nolvea
