#pragma once

#include "support/Async.h"
#include "support/Clock.h"
#include "support/Printers.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

namespace nolvea::test {

// Fake `claude` and `codex` tools on a PATH of their own. Every fake records its arguments
// (NUL-separated), environment, working folder and standard input in `record()`, copies the
// files it was pointed at (the codex turn folder, the claude system file) before the turn
// removes them, then runs the test's own shell lines. The clock is manual, so limits fire only
// when a test moves it.
class BridgeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("rec"));
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin()) + ":/usr/bin:/bin");
        qputenv("FAKE_RECORD", QFile::encodeName(record()));
        Clock::install(&m_clock);
    }
    void TearDown() override {
        Clock::install(nullptr);
        qputenv("PATH", m_oldPath);
        qunsetenv("FAKE_RECORD");
    }

    QString bin() const { return m_dir.path() + QStringLiteral("/bin"); }
    QString record() const { return m_dir.path() + QStringLiteral("/rec"); }
    QString recorded(const QString& name) const { return record() + u'/' + name; }

    // A fake tool in `folder` (PATH by default) that records its call and then runs `body`.
    QString writeTool(const QString& name, const QByteArray& body, QString folder = {}) {
        if (folder.isEmpty()) folder = bin();
        QDir().mkpath(folder);
        const QString path = folder + u'/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArrayLiteral(R"SH(#!/bin/sh
r="$FAKE_RECORD"
: > "$r/args"
for a in "$@"; do printf '%s\0' "$a" >> "$r/args"; done
env > "$r/env"
pwd > "$r/cwd"
cat > "$r/stdin"
prev=""
out=""
for a in "$@"; do
  case "$prev" in
    -C) rm -rf "$r/turn"; cp -r "$a" "$r/turn"; stat -c %a "$a" > "$r/turnmode"; echo "$a" > "$r/turnpath";;
    -o) out="$a";;
    --system-prompt-file) cp "$a" "$r/system"; stat -c %a "$a" > "$r/systemmode"; stat -c %a "$(dirname "$a")" > "$r/systemdirmode"; echo "$a" > "$r/systempath";;
  esac
  prev="$a"
done
)SH") + body + '\n');
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
        return path;
    }

    // An executable file with exactly `content`.
    QString writeScript(const QString& name, const QByteArray& content) {
        const QString path = bin() + u'/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
        return path;
    }

    QStringList args() const {
        QByteArray data = read(QStringLiteral("args"));
        if (data.endsWith('\0')) data.chop(1);
        QStringList list;
        if (data.isEmpty() && !QFile::exists(recorded(QStringLiteral("args")))) return list;
        for (const QByteArray& a : data.split('\0'))
            list << QString::fromUtf8(a);
        return list;
    }
    QMap<QString, QString> env() const {
        QMap<QString, QString> map;
        for (const QByteArray& line : read(QStringLiteral("env")).split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                map.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
        }
        return map;
    }
    QByteArray read(const QString& name) const {
        QFile file(recorded(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString readText(const QString& name) const { return QString::fromUtf8(read(name)).trimmed(); }

    static int mode(const QString& path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    }

    // Whether a process recorded by its pid file still runs.
    bool alive(const QString& pidFile) const {
        const pid_t pid = readText(pidFile).toInt();
        return pid > 0 && ::kill(pid, 0) == 0 &&
               !QString::fromLatin1(readProc(pid)).contains(QStringLiteral("State:\tZ"));
    }
    static QByteArray readProc(pid_t pid) {
        QFile file(QStringLiteral("/proc/%1/status").arg(pid));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    ManualClock m_clock;
    QByteArray m_oldPath;
};

} // namespace nolvea::test
