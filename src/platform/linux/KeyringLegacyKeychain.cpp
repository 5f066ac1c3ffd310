#include "platform/linux/KeyringLegacyKeychain.h"

#include "support/Promise.h"

#include <qt6keychain/keychain.h>

#include <memory>

namespace nolvea {

QCoro::Task<QString> KeyringLegacyKeychain::read(QString service, QString account) {
    // Deleted from the event loop: the job may still be inside its own signal.
    const std::unique_ptr<QKeychain::ReadPasswordJob, void (*)(QObject*)> job(
        new QKeychain::ReadPasswordJob(service), [](QObject* o) { o->deleteLater(); });
    job->setAutoDelete(false);
    job->setKey(account);
    job->setInsecureFallback(false);

    auto finished = std::make_shared<bool>(false);
    Promise<> settled;
    QObject::connect(job.get(), &QKeychain::Job::finished, job.get(),
                     [finished, settled]() mutable {
                         *finished = true;
                         settled.resolve();
                     });
    const auto limit =
        Clock::shared().schedule(answerLimit, false, [settled]() mutable { settled.resolve(); });
    job->start();
    co_await settled;

    if (!*finished || job->error() != QKeychain::NoError) co_return QString();
    const QByteArray data = job->binaryData();
    co_return data.isEmpty() ? job->textData() : QString::fromUtf8(data);
}

} // namespace nolvea
