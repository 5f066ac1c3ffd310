#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace nolvea::test {

namespace {

QString g_home;

// Points HOME and the XDG folders into the home, making each folder.
void setFolders() {
    const auto set = [](const char* name, const QString& value) {
        QDir().mkpath(value);
        ::setenv(name, QFile::encodeName(value).constData(), 1);
    };
    set("HOME", g_home);
    set("XDG_CONFIG_HOME", g_home + QStringLiteral("/.config"));
    set("XDG_DATA_HOME", g_home + QStringLiteral("/.local/share"));
    set("XDG_CACHE_HOME", g_home + QStringLiteral("/.cache"));
    set("XDG_STATE_HOME", g_home + QStringLiteral("/.local/state"));
    const QString runtime = g_home + QStringLiteral("/run");
    set("XDG_RUNTIME_DIR", runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

void prepareEnvironment() {
    std::signal(SIGPIPE, SIG_IGN);
    QByteArray tmpl = QFile::encodeName(QDir::tempPath() + QStringLiteral("/nolvea-test-XXXXXX"));
    if (!::mkdtemp(tmpl.data())) std::abort();
    g_home = QFile::decodeName(tmpl);
    setFolders();
}

void FreshHome::OnTestStart(const ::testing::TestInfo&) {
    // The same path, so that what holds it (the shared stores) writes into the clean home.
    QDir home(g_home);
    for (const QFileInfo& entry : home.entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
    setFolders();
}

void cleanEnvironment() {
    if (!g_home.isEmpty() && qEnvironmentVariableIsEmpty("NOLVEA_TEST_KEEP_HOME"))
        QDir(g_home).removeRecursively();
}

QString home() {
    return g_home;
}

QString dataFile(const QString& relative) {
    return QStringLiteral(NOLVEA_SOURCE_DIR "/tests/data/") + relative;
}

} // namespace nolvea::test
