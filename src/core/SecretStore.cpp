#include "core/SecretStore.h"

#include "core/AppPaths.h"
#include "core/UserDefaults.h"
#include "platform/LegacyKeychain.h"
#include "platform/Platform.h"
#include "support/AtomicFile.h"
#include "support/json/JSONValue.h"

#include <QDebug>
#include <QFile>
#include <QSet>

#include <cerrno>
#include <cstdio>

namespace nolvea {

SecretStore::SecretStore(QString path, UserDefaults& defaults, KeychainRead legacy)
    : m_path(std::move(path))
    , m_defaults(defaults)
    , m_legacy(std::move(legacy)) {}

SecretStore& SecretStore::shared() {
    static SecretStore store(AppPaths::support() + QStringLiteral("/segredos.json"),
                             UserDefaults::standard(), [](QString key) -> QCoro::Task<QString> {
                                 auto keychain = Platform::find<LegacyKeychain>();
                                 if (!keychain) co_return QString();
                                 co_return co_await keychain->read(QStringLiteral("Falantorix"),
                                                                   key);
                             });
    return store;
}

void SecretStore::loadIfNeeded() {
    if (m_cache) return;
    m_cache.emplace();
    QFile f(m_path);
    if (!f.exists()) return;
    if (!f.open(QIODevice::ReadOnly)) {
        m_unreadableFile = true;
        return;
    }
    const auto json = JSONValue::parse(f.readAll());
    if (!json || !json->isObject()) {
        m_unreadableFile = true;
        return;
    }
    std::map<QString, QString> secrets;
    for (const auto& [key, value] : json->asObject()) {
        auto text = value.asString();
        if (!text) {
            m_unreadableFile = true;
            return;
        }
        secrets.emplace(key, *text);
    }
    m_cache = std::move(secrets);
}

std::optional<FileWriteError> SecretStore::save(std::map<QString, QString> secrets) {
    m_cache = std::move(secrets);
    // A file we could not read may hold keys we do not know: keep it, once, beside ours.
    if (m_unreadableFile) {
        const QByteArray from = QFile::encodeName(m_path);
        const QByteArray aside = QFile::encodeName(AppPaths::asideName(m_path));
        if (std::rename(from.constData(), aside.constData()) != 0 && errno != ENOENT)
            return FileWriteError(m_path, errno);
        m_unreadableFile = false;
    }
    JSONValue::Object object;
    for (const auto& [key, value] : *m_cache)
        object.emplace(key, JSONValue(value));
    auto failed = AtomicFile::write(m_path, JSONValue(std::move(object)).compactBytes(),
                                    AtomicFile::Access::Private);
    if (failed) qWarning().noquote() << failed->message() << failed->reason();
    return failed;
}

void SecretStore::markMigrated(const QString& key, bool storeAlways) {
    QStringList list = m_defaults.stringList(QString::fromLatin1(kMigratedKey));
    const bool known = list.contains(key);
    if (!known) list.append(key);
    if (!known || storeAlways) {
        list.removeDuplicates();
        m_defaults.set(QString::fromLatin1(kMigratedKey), list);
    }
}

QString SecretStore::read(const QString& key) {
    std::lock_guard lock(m_lock);
    loadIfNeeded();
    if (auto it = m_cache->find(key); it != m_cache->end()) return it->second;
    return {};
}

bool SecretStore::claimForMigration(const QString& key) {
    std::lock_guard lock(m_lock);
    loadIfNeeded();
    if (m_cache->contains(key)) return false;
    if (m_defaults.stringList(QString::fromLatin1(kMigratedKey)).contains(key)) return false;
    // Recorded before the keyring is asked, so it is asked at most once per key.
    markMigrated(key, true);
    return true;
}

void SecretStore::adoptLegacy(const QString& key, const QString& value) {
    std::lock_guard lock(m_lock);
    // Written (or cleared) while the keyring answered: that one wins.
    if (m_written.contains(key)) return;
    auto secrets = *m_cache;
    secrets[key] = value;
    save(std::move(secrets));
}

QCoro::Task<> SecretStore::migrateLegacy(QStringList keys) {
    if (!m_legacy) co_return;
    // All asked at once and without the lock: the keyring may take seconds, or ask the user.
    std::vector<std::pair<QString, QCoro::Task<QString>>> asking;
    for (const QString& key : keys)
        if (claimForMigration(key)) asking.emplace_back(key, m_legacy(key));
    for (auto& [key, answer] : asking) {
        QString legacy;
        try {
            legacy = co_await std::move(answer);
        } catch (const std::exception&) {
            continue; // a keyring that fails holds nothing for us
        }
        if (!legacy.isEmpty()) adoptLegacy(key, legacy);
    }
}

std::optional<FileWriteError> SecretStore::write(const QString& value, const QString& key) {
    std::lock_guard lock(m_lock);
    loadIfNeeded();
    auto secrets = *m_cache;
    if (value.isEmpty())
        secrets.erase(key);
    else
        secrets[key] = value;
    auto failed = save(std::move(secrets));
    markMigrated(key, false);
    m_written.insert(key);
    return failed;
}

} // namespace nolvea
