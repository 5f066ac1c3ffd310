// What every target shares: a Qt application and a private home, made before the first input.
#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace nolvea::fuzz {

namespace {

struct Session {
    QTemporaryDir home;
    std::unique_ptr<QCoreApplication> app;
};

Session& session() {
    static Session s;
    return s;
}

} // namespace

QString scratch() {
    return session().home.filePath(QStringLiteral("scratch"));
}

void renew(const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

QString freshFile(const QString& folder, const QString& name, const QByteArray& content) {
    renew(folder);
    const QString path = folder + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return {};
    return path;
}

} // namespace nolvea::fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    using namespace nolvea::fuzz;
    Session& s = session();
    // Nothing a target does may reach the real home.
    const QByteArray home = s.home.path().toUtf8();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/config");
    qputenv("XDG_DATA_HOME", home + "/data");
    qputenv("XDG_CACHE_HOME", home + "/cache");
    qputenv("QT_LOGGING_RULES", "*=false");
    s.app = std::make_unique<QCoreApplication>(*argc, *argv);
    QDir().mkpath(scratch());
    return 0;
}
