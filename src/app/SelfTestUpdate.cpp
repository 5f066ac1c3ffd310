#include "app/Console.h"
#include "app/SelfTest.h"
#include "support/Error.h"
#include "updates/Distribution.h"
#include "updates/Updater.h"

namespace nolvea {

namespace {

QString describe(const UpdatePhase& phase) {
    using Kind = UpdatePhase::Kind;
    switch (phase.kind) {
    case Kind::idle:
        return QString::fromUtf8("idle");
    case Kind::checking:
        return QString::fromUtf8("checking");
    case Kind::upToDate:
        return QString::fromUtf8("upToDate");
    case Kind::downloading:
        return QString::fromUtf8("downloading");
    case Kind::installing:
        return QString::fromUtf8("installing");
    case Kind::failed:
        return QString::fromUtf8("failed(%1)").arg(phase.message);
    case Kind::available: {
        const UpdateRelease& r = *phase.release;
        return QString::fromUtf8("available(versão %1, build %2, %3)")
            .arg(r.version, QString::number(r.build), r.url.toString());
    }
    }
    return {};
}

} // namespace

QCoro::Task<bool> SelfTest::update(Updater& updater, bool download) {
    co_await updater.check(false);
    const std::optional<QUrl> site = Distribution::url(QString::fromUtf8("VemkaSiteURL"));
    Console::line(QString::fromUtf8("Versão instalada: ") + Distribution::version() +
                  QString::fromUtf8(" (") + QString::number(Distribution::build()) +
                  QString::fromUtf8(") · site: ") +
                  (site ? site->toString() : QString::fromUtf8("não configurado")));
    const UpdatePhase phase = updater.phase();
    Console::line(QString::fromUtf8("Resultado: ") + describe(phase));
    if (phase.kind == UpdatePhase::Kind::failed) co_return false;
    if (!download || phase.kind != UpdatePhase::Kind::available) co_return true;
    try {
        const QString path = co_await updater.download(*phase.release);
        Console::line(QString::fromUtf8("✓ Baixado e conferido: ") + path);
        co_return true;
    } catch (const std::exception& e) {
        Console::line(QString::fromUtf8("✗ ") + nolvea::describe(e));
        co_return false;
    }
}

} // namespace nolvea
