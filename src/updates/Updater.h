#pragma once

#include "support/CancelToken.h"
#include "support/Clock.h"
#include "support/PrivateTempDir.h"
#include "updates/UpdatePhase.h"
#include "updates/UpdateRelease.h"
#include "updates/UpdaterSetup.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <qcoro/qcorotask.h>

#include <memory>
#include <optional>

namespace nolvea {

// Keeps the application up to date from the publisher's site: reads the manifest
// "downloads/latest.json" below the site address, announces a newer build, and on request
// downloads, verifies and unpacks the release and hands the swap of the application root to a
// script that runs once this process has quit. Lives on the main thread.
class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(nolvea::UpdatePhase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QDateTime lastCheck READ lastCheck NOTIFY lastCheckChanged)

public:
    using Release = UpdateRelease;
    using Phase = UpdatePhase;

    explicit Updater(UpdaterSetup setup, QObject* parent = nullptr);
    ~Updater() override;

    static Updater& shared();

    const Phase& phase() const { return m_phase; }
    // The time of the last check that read a manifest; invalid before the first.
    QDateTime lastCheck() const { return m_lastCheck; }
    // The site address with "downloads/latest.json" below it; nothing without a site.
    std::optional<QUrl> manifestURL() const;

    // The first silent check 20 s from now, then one every 24 h from now.
    void startAutomaticChecks();
    // One check; a silent one shows neither its progress nor its failure.
    QCoro::Task<> check(bool silent);

    // Downloads, verifies and installs `release`; the outcome shows in `phase` (and, on
    // success, in the end of the process).
    void install(const Release& release);
    // Downloads, verifies and unpacks `release`; the path of the unpacked application root,
    // kept in a private work folder until the next download or the end of the updater.
    QCoro::Task<QString> download(Release release);

Q_SIGNALS:
    void phaseChanged();
    void lastCheckChanged();

private:
    QCoro::Task<> firstCheck();
    QCoro::Task<> runInstall(Release release);
    void replaceAndRelaunch(const QString& newRoot);
    void setPhase(Phase phase);
    void setLastCheck(const QDateTime& when);

    UpdaterSetup m_setup;
    Phase m_phase;
    QDateTime m_lastCheck;
    std::unique_ptr<ClockTimer> m_timer;
    CancelToken m_stop;
    QNetworkAccessManager m_network;
    std::optional<PrivateTempDir> m_work;
};

} // namespace nolvea
