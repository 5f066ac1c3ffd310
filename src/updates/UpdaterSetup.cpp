#include "updates/UpdaterSetup.h"

#include "updates/Distribution.h"

#include <QCoreApplication>

namespace nolvea {

UpdaterSetup UpdaterSetup::fromDistribution() {
    UpdaterSetup s;
    s.siteURL = Distribution::url(QStringLiteral("VemkaSiteURL"));
    s.version = Distribution::version();
    s.build = Distribution::build();
    s.publicKey = Distribution::updatePublicKey();
    s.executablePath = QCoreApplication::applicationFilePath();
    s.processId = QCoreApplication::applicationPid();
    s.terminate = [] {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    };
    return s;
}

} // namespace nolvea
