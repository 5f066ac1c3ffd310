#include "core/AppPaths.h"

#include "support/Clock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace nolvea {

QString AppPaths::support() {
    static const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/Falantorix");
    // Made again when it was removed while running. Transcripts, logs and keys live here:
    // only the owner may look inside.
    if (!QDir(folder).exists() && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

QString AppPaths::file(const QString& name) {
    return support() + u'/' + name;
}

QString AppPaths::asideName(const QString& path) {
    return path + QStringLiteral(".bad-") +
           Clock::shared().now().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

} // namespace nolvea
