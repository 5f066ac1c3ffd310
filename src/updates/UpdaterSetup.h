#pragma once

#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

namespace nolvea {

// What the updater needs to know about the running program and its surroundings. The shared
// updater takes it from the distribution values and the running process; tests give their
// own site, build, key, application root and time-outs.
struct UpdaterSetup {
    std::optional<QUrl> siteURL;
    QString version;
    qint64 build = 0;
    QString publicKey;      // base64url Ed25519 public key
    QString executablePath; // the running program, "<root>/bin/nolvea"
    qint64 processId = 0;   // the process the replacement waits for
    QString osReleasePath = QStringLiteral("/etc/os-release");
    std::chrono::milliseconds manifestTimeout{20000};
    std::chrono::milliseconds downloadTimeout{60000}; // without any data arriving
    std::function<void()> terminate;                  // ends the program after the hand-over

    static UpdaterSetup fromDistribution();
};

} // namespace nolvea
