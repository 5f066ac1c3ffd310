#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <mutex>
#include <optional>

namespace nolvea {

// A preference store: an INI file read and written through QSettings, with registered
// defaults that answer for missing keys and are never written. Safe to use from any thread.
class UserDefaults {
public:
    explicit UserDefaults(const QString& path);

    // $XDG_CONFIG_HOME/Falantorix/Nolvea.conf
    static UserDefaults& standard();
    // Another application's preference domain, $XDG_CONFIG_HOME/<domain>.conf.
    static std::unique_ptr<UserDefaults> domain(const QString& name);

    void registerDefaults(const QVariantMap& defaults);

    bool contains(const QString& key) const; // stored, not registered
    // The stored value, else the registered one, else an invalid variant.
    QVariant object(const QString& key) const;
    // A text under the key (stored or registered), or nothing.
    std::optional<QString> string(const QString& key) const;
    // A list of texts; a lone text is a list of one (that is how a one-item list is stored).
    QStringList stringList(const QString& key) const;
    bool boolValue(const QString& key) const;     // false when absent
    double doubleValue(const QString& key) const; // 0 when absent
    std::optional<double> number(const QString& key) const;
    // Data under the key, as another program or a person wrote it: a text written by hand
    // without quotes (JSON, say) reads as it stands, where the INI reader would split it at
    // its commas and drop its quotes. Nothing when the key is absent.
    std::optional<QByteArray> data(const QString& key) const;

    void set(const QString& key, const QVariant& value);
    void remove(const QString& key);
    void sync();

    QString path() const;

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registered;
};

} // namespace nolvea
