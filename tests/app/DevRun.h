#pragma once

// Runs the real program as a child and collects what it printed.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <functional>

namespace nolvea::test {

struct DevRun {
    int status = -1;
    bool crashed = false;
    QStringList lines; // standard output, split at line feeds
    QString errors;    // standard error

    QString output() const { return lines.join(u'\n'); }
};

inline QString nolveaProgram() {
    return QStringLiteral(NOLVEA_BINARY_DIR "/bin/nolvea");
}

// The program with `args`; when `stopAt` matches a printed line the child is ended there (for
// modes that would wait on the real clock).
// `wrapper`, when given, is a command line that runs the program: the program and `args` follow
// it.
inline DevRun runNolvea(const QStringList& args,
                        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                        const std::function<bool(const QString&)>& stopAt = {},
                        const QStringList& wrapper = {}) {
    QProcess child;
    child.setProcessEnvironment(env);
    if (wrapper.isEmpty())
        child.start(nolveaProgram(), args);
    else
        child.start(wrapper.first(), wrapper.mid(1) + QStringList{nolveaProgram()} + args);
    DevRun run;
    if (!child.waitForStarted(10000)) return run;
    QByteArray out;
    bool stopped = false;
    const QDeadlineTimer deadline(60000); // a hung mode fails the test instead of hanging it
    while (child.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        child.waitForReadyRead(200);
        out += child.readAllStandardOutput();
        if (stopAt) {
            for (const QByteArray& line : out.split('\n'))
                if (stopAt(QString::fromUtf8(line))) stopped = true;
            if (stopped) {
                child.kill();
                child.waitForFinished(10000);
                break;
            }
        }
    }
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(10000);
        return run;
    }
    out += child.readAllStandardOutput();
    if (out.endsWith('\n')) out.chop(1);
    run.lines = out.isEmpty() ? QStringList() : QString::fromUtf8(out).split(u'\n');
    run.errors = QString::fromUtf8(child.readAllStandardError());
    run.crashed = !stopped && child.exitStatus() == QProcess::CrashExit;
    run.status = stopped ? -1 : child.exitCode();
    return run;
}

// One setting the child reads.
inline void configureSetting(const QString& key, const QVariant& value) {
    QSettings s(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Falantorix/Nolvea.conf",
                QSettings::IniFormat);
    s.setValue(key, value);
    s.sync();
}

// Settings the child reads: a local model server at `serverURL`.
inline void configureModel(const QString& provider, const QString& serverURL,
                           const QString& model) {
    QSettings s(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Falantorix/Nolvea.conf",
                QSettings::IniFormat);
    s.setValue("aiProvider", provider);
    const bool lmStudio = provider == u"lmStudio";
    s.setValue(lmStudio ? QStringLiteral("serverURL") : "serverURL." + provider, serverURL);
    s.setValue(lmStudio ? QStringLiteral("model") : "model." + provider, model);
    s.sync();
}

} // namespace nolvea::test
