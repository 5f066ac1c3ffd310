#pragma once

#include "support/FileWriteError.h"

#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>

namespace nolvea {

class UserDefaults;

// The user's secrets (API keys under "apikey.<provider>") in `segredos.json`, a JSON object
// of strings that only its owner can read (0600 from the moment it exists). A key missing
// from the file is looked up once in the legacy keyring (in the background, at start-up) and
// copied in when found.
class SecretStore {
public:
    using KeychainRead = std::function<QCoro::Task<QString>(QString key)>;

    SecretStore(QString path, UserDefaults& defaults, KeychainRead legacy);

    static SecretStore& shared();

    // The secret, or "" when there is none. Any thread.
    QString read(const QString& key);
    // Stores `value` under `key`; an empty value deletes the key. Any thread. When the file
    // could not be written the value holds until the program ends, and the failure is returned.
    std::optional<FileWriteError> write(const QString& value, const QString& key);
    // Asks the legacy keyring, once per key ever, for each of `keys` that the file lacks, and
    // copies in what it finds. The store stays free while the keyring answers; a key written
    // meanwhile keeps its new value. Whoever read a key before must read it again.
    QCoro::Task<> migrateLegacy(QStringList keys);

    QString path() const { return m_path; }

    static constexpr const char* kMigratedKey = "segredosMigradosDoKeychain";

private:
    void loadIfNeeded();
    std::optional<FileWriteError> save(std::map<QString, QString> secrets);
    void markMigrated(const QString& key, bool storeAlways);
    // Marks `key` as asked when the keyring should be asked for it.
    bool claimForMigration(const QString& key);
    void adoptLegacy(const QString& key, const QString& value);

    QString m_path;
    UserDefaults& m_defaults;
    KeychainRead m_legacy;
    std::mutex m_lock;
    std::optional<std::map<QString, QString>> m_cache;
    bool m_unreadableFile = false;
    std::set<QString> m_written; // keys written through this store
};

} // namespace nolvea
