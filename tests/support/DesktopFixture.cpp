#include "support/DesktopFixture.h"

#include "support/Async.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nolvea::test {

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(data);
}

QString applications() {
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
}

} // namespace

DesktopFixture::DesktopFixture()
    : m_root(home() + QStringLiteral("/desktop")) {
    QDir(m_root).removeRecursively();
    QDir(applications()).removeRecursively();
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list"));
    QDir().mkpath(m_root + QStringLiteral("/calls"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(m_root + QStringLiteral("/system-data")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_root + QStringLiteral("/system-config")));
    qunsetenv("XDG_CURRENT_DESKTOP");
    // The MIME database is read from the same folders: keep the system's.
    QDir().mkpath(m_root + QStringLiteral("/system-data"));
    QFile::link(QStringLiteral("/usr/share/mime"), m_root + QStringLiteral("/system-data/mime"));
    // $1 names the output file; the rest are the arguments the launcher gave.
    writeFile(recorder(), "#!/bin/sh\nout=\"$1\"; shift\nprintf '%s\\n' \"$@\" > \"$out.tmp\"\n"
                          "mv \"$out.tmp\" \"$out\"\n");
    QFile::setPermissions(recorder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

DesktopFixture::~DesktopFixture() {
    QDir(m_root).removeRecursively();
    QDir(applications()).removeRecursively();
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list"));
    qunsetenv("XDG_DATA_DIRS");
    qunsetenv("XDG_CONFIG_DIRS");
}

QString DesktopFixture::addApp(const QString& id, const QString& name, const QString& exec,
                               const QStringList& extra) {
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n")
                       .arg(name, exec.arg(recorder() + u' ' + callsOf(id)));
    for (const QString& line : extra)
        text += line + u'\n';
    writeFile(applications() + u'/' + id, text.toUtf8());
    return callsOf(id);
}

void DesktopFixture::setDefault(const QString& mimeType, const QString& id) {
    m_defaults << mimeType + u'=' + id;
    writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list"),
              ("[Default Applications]\n" + m_defaults.join(u'\n') + u'\n').toUtf8());
}

QString DesktopFixture::callsOf(const QString& id) const {
    return m_root + QStringLiteral("/calls/") + id;
}

QStringList DesktopFixture::waitForCall(const QString& id) const {
    const QString path = callsOf(id);
    if (!spinUntil([&] { return QFile::exists(path); }, 5000)) return {QStringLiteral("<no call>")};
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

} // namespace nolvea::test
