#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace nolvea::test {

// Writes `data` to `path`, making the folders on the way; `mode` as for chmod.
inline bool writeFile(const QString& path, const QByteArray& data, int mode = 0644) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        return false;
    f.close();
    QFile::Permissions p;
    if (mode & 0400) p |= QFile::ReadOwner;
    if (mode & 0200) p |= QFile::WriteOwner;
    if (mode & 0100) p |= QFile::ExeOwner;
    if (mode & 0040) p |= QFile::ReadGroup;
    if (mode & 0004) p |= QFile::ReadOther;
    return QFile::setPermissions(path, p);
}

} // namespace nolvea::test
