#pragma once

#include "platform/Launcher.h"

#include <QList>

namespace nolvea::test {

// Records the addresses it is asked to open: no browser runs in a test.
class FakeLauncher final : public Launcher {
public:
    void openFile(const QString&) override {}
    void revealFile(const QString&) override {}
    void openURL(const QUrl& url) override { opened << url; }
    void openApplication(const QString&) override {}
    QList<QUrl> opened;
};

} // namespace nolvea::test
