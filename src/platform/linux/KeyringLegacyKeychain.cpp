#include "platform/linux/KeyringLegacyKeychain.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace nolvea {

QString KeyringLegacyKeychain::read(const QString& service, const QString& account) {
    QKeychain::ReadPasswordJob job(service);
    job.setAutoDelete(false);
    job.setKey(account);
    job.setInsecureFallback(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    job.start();
    if (!finished) loop.exec();
    if (!finished || job.error() != QKeychain::NoError) return {};
    const QByteArray data = job.binaryData();
    return data.isEmpty() ? job.textData() : QString::fromUtf8(data);
}

} // namespace nolvea
