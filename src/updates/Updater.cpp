#include "updates/Updater.h"

#include "support/Detached.h"
#include "updates/AppRoot.h"
#include "updates/HttpFetch.h"
#include "updates/ReleaseVerifier.h"
#include "updates/ReplacementScript.h"
#include "updates/SystemVersion.h"
#include "updates/UpdateError.h"
#include "updates/UpdateFailure.h"
#include "updates/ZipArchive.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QNetworkRequest>
#include <QPointer>

namespace nolvea {

namespace {

constexpr std::chrono::seconds kFirstCheckDelay{20};
constexpr std::chrono::seconds kCheckInterval{86400};

} // namespace

Updater::Updater(UpdaterSetup setup, QObject* parent)
    : QObject(parent)
    , m_setup(std::move(setup)) {
    if (auto* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_work.reset(); });
}

Updater::~Updater() {
    m_stop.cancel();
}

Updater& Updater::shared() {
    static Updater* updater = new Updater(UpdaterSetup::fromDistribution());
    return *updater;
}

std::optional<QUrl> Updater::manifestURL() const {
    if (!m_setup.siteURL) return std::nullopt;
    QUrl address = *m_setup.siteURL;
    QString path = address.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    address.setPath(path + QStringLiteral("/downloads/latest.json"));
    return address;
}

void Updater::startAutomaticChecks() {
    if (!manifestURL()) return;
    detach(firstCheck(), QStringLiteral("Atualizações: verificação"));
    m_timer = Clock::shared().schedule(kCheckInterval, true, [this] {
        detach(check(true), QStringLiteral("Atualizações: verificação"));
    });
}

QCoro::Task<> Updater::firstCheck() {
    try {
        co_await Clock::shared().sleep(kFirstCheckDelay, m_stop);
    } catch (const Cancelled&) {
        co_return;
    }
    co_await check(true);
}

QCoro::Task<> Updater::check(bool silent) {
    const auto address = manifestURL();
    if (!address) {
        if (!silent)
            setPhase(Phase::failed(
                QStringLiteral("Site de atualizações não configurado neste pacote.")));
        co_return;
    }
    if (m_phase.kind == Phase::Kind::downloading) co_return;
    if (!silent) setPhase(Phase::checking());

    QNetworkRequest request(*address);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(int(m_setup.manifestTimeout.count()));
    request.setRawHeader("User-Agent", "Nolvea/" + m_setup.version.toUtf8());

    QPointer<Updater> self(this);
    std::optional<Release> release;
    QString failure;
    try {
        const QByteArray body = co_await HttpFetch::get(m_network, request);
        release = Release::decode(body);
        if (!release)
            failure =
                QStringLiteral("A resposta do site não é um manifesto de atualização válido.");
    } catch (const std::exception& e) {
        failure = describe(e);
    }
    // An installation that began meanwhile keeps its phase.
    if (!self || m_phase.kind == Phase::Kind::downloading) co_return;
    if (!release) {
        if (!silent)
            setPhase(
                Phase::failed(QStringLiteral("Não deu para procurar atualizações: ") + failure));
        co_return;
    }
    setLastCheck(Clock::shared().now());
    if (m_setup.build < release->build &&
        SystemVersion::supports(release->minimumSystemVersion, m_setup.osReleasePath))
        setPhase(Phase::available(*release));
    else
        setPhase(silent ? Phase::idle() : Phase::upToDate());
}

void Updater::install(const Release& release) {
    setPhase(Phase::downloading());
    detach(runInstall(release), QStringLiteral("Atualizações: instalação"));
}

QCoro::Task<> Updater::runInstall(Release release) {
    QPointer<Updater> self(this);
    try {
        const QString newRoot = co_await download(release);
        if (!self) co_return;
        setPhase(Phase::installing());
        replaceAndRelaunch(newRoot);
    } catch (const std::exception& e) {
        if (!self) co_return;
        m_work.reset();
        setPhase(Phase::failed(describe(e)));
    }
}

QCoro::Task<QString> Updater::download(Release release) {
    QNetworkRequest request(release.url);
    request.setTransferTimeout(int(m_setup.downloadTimeout.count()));
    QPointer<Updater> self(this);
    const QByteArray archive = co_await HttpFetch::get(m_network, request);
    if (!self) throw Cancelled();

    // Nothing touches the disk before the archive is proven to be the publisher's.
    ReleaseVerifier::verify(archive, release.sha256, release.signature, m_setup.publicKey);

    PrivateTempDir work(QStringLiteral("nolvea-atualizacao-") + QString::number(release.build));
    if (!work.isValid())
        throw UpdateFailure(
            QStringLiteral("Não deu para criar a pasta de trabalho da atualização."));
    QFile file(work.filePath(QStringLiteral("Nolvea.zip")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(archive) != archive.size() || !file.flush())
        throw UpdateFailure(QStringLiteral("Não deu para gravar o arquivo da atualização em ") +
                            work.path() + QStringLiteral("."));
    file.close();

    // Unpacked from the verified bytes in memory, then compared with them once on disk.
    const auto zip = ZipArchive::open(archive);
    if (!zip) throw UpdateError::unpack();
    if (auto failed = zip->extractTo(work.path())) throw std::move(*failed);
    const QString newRoot = work.filePath(QStringLiteral("Nolvea.app"));
    if (!AppRoot::isRecognised(newRoot) || !zip->matches(work.path(), QStringLiteral("Nolvea.app")))
        throw UpdateError::unpack();

    m_work = std::move(work);
    co_return newRoot;
}

void Updater::replaceAndRelaunch(const QString& newRoot) {
    const QString root = AppRoot::of(m_setup.executablePath);
    if (root.isEmpty() || !AppRoot::isRecognised(root) || !AppRoot::isReplaceable(root)) {
        const QString near =
            root.isEmpty() ? QFileInfo(m_setup.executablePath).absolutePath() : root;
        throw UpdateError::notWritable(AppRoot::holder(near));
    }
    if (!m_work) throw UpdateFailure(QStringLiteral("Não deu para iniciar a troca da versão."));
    if (auto failed = ReplacementScript::start(m_setup.processId, root, newRoot, m_work->path()))
        throw std::move(*failed);
    // From here on the script owns the work folder and removes it.
    m_work->release();
    m_work.reset();
    if (m_setup.terminate) m_setup.terminate();
}

void Updater::setPhase(Phase phase) {
    if (phase == m_phase) return;
    m_phase = std::move(phase);
    Q_EMIT phaseChanged();
}

void Updater::setLastCheck(const QDateTime& when) {
    if (when == m_lastCheck) return;
    m_lastCheck = when;
    Q_EMIT lastCheckChanged();
}

} // namespace nolvea
