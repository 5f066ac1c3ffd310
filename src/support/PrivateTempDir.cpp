#include "support/PrivateTempDir.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <utility>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nolvea {

QString PrivateTempDir::base() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!runtime.isEmpty() && ::stat(QFile::encodeName(runtime).constData(), &st) == 0 &&
        S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0)
        return runtime + QStringLiteral("/nolvea");
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/nolvea");
}

PrivateTempDir::PrivateTempDir(const QString& purpose) {
    const QString parent = base();
    QDir().mkpath(parent);
    ::chmod(QFile::encodeName(parent).constData(), 0700);
    QByteArray tmpl = QFile::encodeName(parent + u'/' + purpose + QStringLiteral("-XXXXXX"));
    // mkdtemp makes the folder 0700 under a fresh random name.
    if (::mkdtemp(tmpl.data())) m_path = QFile::decodeName(tmpl);
}

PrivateTempDir::~PrivateTempDir() {
    if (!m_path.isEmpty()) QDir(m_path).removeRecursively();
}

PrivateTempDir::PrivateTempDir(PrivateTempDir&& other) noexcept
    : m_path(std::move(other.m_path)) {
    other.m_path.clear();
}

PrivateTempDir& PrivateTempDir::operator=(PrivateTempDir&& other) noexcept {
    if (this != &other) {
        if (!m_path.isEmpty()) QDir(m_path).removeRecursively();
        m_path = std::move(other.m_path);
        other.m_path.clear();
    }
    return *this;
}

QString PrivateTempDir::release() {
    return std::exchange(m_path, QString());
}

QString PrivateTempDir::filePath(const QString& name) const {
    return m_path + u'/' + name;
}

} // namespace nolvea
