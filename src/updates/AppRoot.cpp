#include "updates/AppRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace nolvea {

namespace {

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool writable(const QString& path) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace

QString AppRoot::of(const QString& executable) {
    const QString program = QFileInfo(executable).canonicalFilePath();
    if (program.isEmpty()) return {};
    const QFileInfo bin(QFileInfo(program).path());
    if (bin.fileName() != u"bin") return {};
    return bin.path();
}

bool AppRoot::isRecognised(const QString& root) {
    const QFileInfo info(root);
    if (root.isEmpty() || !info.isDir() || info.isSymLink()) return false;
    if (entriesOf(root) != QStringList{QStringLiteral("bin"), QStringLiteral("share")})
        return false;
    const QFileInfo program(root + QStringLiteral("/bin/nolvea"));
    const QFileInfo data(root + QStringLiteral("/share/nolvea"));
    return entriesOf(root + QStringLiteral("/bin")) == QStringList{QStringLiteral("nolvea")} &&
           entriesOf(root + QStringLiteral("/share")) == QStringList{QStringLiteral("nolvea")} &&
           program.isFile() && !program.isSymLink() && program.isExecutable() && data.isDir() &&
           !data.isSymLink();
}

bool AppRoot::isReplaceable(const QString& root) {
    return writable(root) && writable(holder(root));
}

QString AppRoot::holder(const QString& root) {
    return QFileInfo(root).absolutePath();
}

} // namespace nolvea
