#pragma once

#include <QString>

#include <functional>
#include <map>
#include <mutex>
#include <optional>

namespace nolvea {

class UserDefaults;

// The user's secrets (API keys under "apikey.<provider>") in `segredos.json`, a JSON object
// of strings that only its owner can read (0600 from the moment it exists). A key missing
// from the file is looked up once in the legacy keyring and copied in when found.
class SecretStore {
public:
    using KeychainRead = std::function<QString(const QString& key)>;

    SecretStore(QString path, UserDefaults& defaults, KeychainRead legacy);

    static SecretStore& shared();

    // The secret, or "" when there is none. Any thread.
    QString read(const QString& key);
    // Stores `value` under `key`; an empty value deletes the key. Any thread.
    void write(const QString& value, const QString& key);

    QString path() const { return m_path; }

    static constexpr const char* kMigratedKey = "segredosMigradosDoKeychain";

private:
    void loadIfNeeded();
    void save(std::map<QString, QString> secrets);
    void markMigrated(const QString& key, bool storeAlways);

    QString m_path;
    UserDefaults& m_defaults;
    KeychainRead m_legacy;
    std::mutex m_lock;
    std::optional<std::map<QString, QString>> m_cache;
    bool m_unreadableFile = false;
};

} // namespace nolvea
