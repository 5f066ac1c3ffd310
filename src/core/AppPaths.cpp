#include "core/AppPaths.h"

#include "support/Clock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace nolvea {

QString AppPaths::support() {
    static const QString folder = [] {
        const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/Falantorix");
        // Transcripts, logs and keys live here: only the owner may look inside.
        if (!QDir(path).exists() && QDir().mkpath(path))
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }();
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
