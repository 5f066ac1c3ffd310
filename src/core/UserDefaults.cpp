#include "core/UserDefaults.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

namespace nolvea {

UserDefaults::UserDefaults(const QString& path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/Falantorix/Nolvea.conf"));
    return defaults;
}

std::unique_ptr<UserDefaults> UserDefaults::domain(const QString& name) {
    return std::make_unique<UserDefaults>(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + name +
        QStringLiteral(".conf"));
}

void UserDefaults::registerDefaults(const QVariantMap& defaults) {
    std::lock_guard lock(m_mutex);
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m_registered.insert(it.key(), *it);
}

bool UserDefaults::contains(const QString& key) const {
    std::lock_guard lock(m_mutex);
    return m_settings->contains(key) && m_settings->value(key).isValid();
}

QVariant UserDefaults::object(const QString& key) const {
    std::lock_guard lock(m_mutex);
    const QVariant stored = m_settings->value(key);
    if (stored.isValid()) return stored;
    return m_registered.value(key);
}

std::optional<QString> UserDefaults::string(const QString& key) const {
    const QVariant v = object(key);
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return v.toString();
    default:
        return std::nullopt;
    }
}

QStringList UserDefaults::stringList(const QString& key) const {
    const QVariant v = object(key);
    if (v.typeId() == QMetaType::QStringList) return v.toStringList();
    if (v.typeId() == QMetaType::QString) return {v.toString()};
    return {};
}

bool UserDefaults::boolValue(const QString& key) const {
    const QVariant v = object(key);
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == u"true" || s == u"yes" || s == u"1";
    }
    return v.toBool();
}

std::optional<double> UserDefaults::number(const QString& key) const {
    const QVariant v = object(key);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok) return std::nullopt;
    return d;
}

double UserDefaults::doubleValue(const QString& key) const {
    return number(key).value_or(0.0);
}

namespace {

// The text after "key=" on the key's own line of an INI file, for keys of the General
// section; nothing when no such line is there.
std::optional<QByteArray> writtenText(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray wanted = key.toUtf8();
    bool general = true; // keys before any section belong to it
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            general = line == "[General]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!general || equals < 0 || line.left(equals).trimmed() != wanted) continue;
        return line.mid(equals + 1).trimmed();
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> UserDefaults::data(const QString& key) const {
    std::lock_guard lock(m_mutex);
    const QVariant stored = m_settings->value(key);
    if (!stored.isValid()) return std::nullopt;
    if (!key.contains(u'/')) {
        m_settings->sync();
        // QSettings quotes a text or escapes its quotes; a bare quote, or a text the reader
        // split into a list, means a person wrote it.
        const auto text = writtenText(m_settings->fileName(), key);
        static const QRegularExpression bareQuote(QStringLiteral(R"re((^|[^\\])")re"));
        if (text && !text->startsWith('"') && !text->startsWith('@') &&
            (stored.typeId() == QMetaType::QStringList ||
             bareQuote.match(QString::fromUtf8(*text)).hasMatch()))
            return *text;
    }
    if (stored.typeId() == QMetaType::QByteArray) return stored.toByteArray();
    return stored.toString().toUtf8();
}

void UserDefaults::set(const QString& key, const QVariant& value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(key, value);
}

void UserDefaults::remove(const QString& key) {
    std::lock_guard lock(m_mutex);
    m_settings->remove(key);
}

void UserDefaults::sync() {
    std::lock_guard lock(m_mutex);
    m_settings->sync();
}

QString UserDefaults::path() const {
    return m_settings->fileName();
}

} // namespace nolvea
