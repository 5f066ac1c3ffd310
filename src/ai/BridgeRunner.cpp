#include "ai/BridgeRunner.h"

#include "support/Clock.h"
#include "support/PrivateTempDir.h"
#include "support/Promise.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QProcess>

#include <cmath>
#include <memory>
#include <mutex>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nolvea {

namespace {

void signalGroup(qint64 pid, int sig) {
    if (pid > 0) ::kill(-pid_t(pid), sig);
}

} // namespace

QString BridgeRun::errorText() const {
    const QStringList lines = QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts);
    return lines.mid(std::max<qsizetype>(0, lines.size() - 3)).join(u' ').trimmed();
}

void BridgeRunner::ignoreBrokenPipes() {
    static std::once_flag once;
    std::call_once(once, [] { ::signal(SIGPIPE, SIG_IGN); });
}

QProcessEnvironment BridgeRunner::environment(AccountBridge::CLI cli) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (cli == AccountBridge::CLI::claude) {
        env.remove(QStringLiteral("ANTHROPIC_API_KEY"));
        env.remove(QStringLiteral("ANTHROPIC_AUTH_TOKEN"));
    } else {
        env.remove(QStringLiteral("OPENAI_API_KEY"));
    }
    const QString inherited = env.value(QStringLiteral("PATH"));
    env.insert(QStringLiteral("PATH"),
               QStringList{QDir::homePath() + QStringLiteral("/.local/bin"),
                           QStringLiteral("/opt/homebrew/bin"), QStringLiteral("/usr/local/bin"),
                           inherited.isEmpty() ? QStringLiteral("/usr/bin:/bin") : inherited}
                   .join(u':'));
    return env;
}

QString BridgeRunner::workingFolder() {
    const QString base = PrivateTempDir::base();
    const QString folder = base + QStringLiteral("/nolvea-cli");
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(base).constData(), 0700);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

QCoro::Task<BridgeRun> BridgeRunner::run(QString program, QStringList arguments,
                                         AccountBridge::CLI cli, std::optional<QByteArray> input,
                                         double timeout) {
    ignoreBrokenPipes();

    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(workingFolder());
    process->setProcessEnvironment(environment(cli));
    // A group of its own, so that the limit also reaches the helpers the tool starts.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
    if (!input) process->setStandardInputFile(QProcess::nullDevice());

    Promise<> finished;
    // Queued, so that the process is never deleted inside its own signal.
    QObject::connect(
        process.get(), &QProcess::finished, process.get(),
        [finished]() mutable { finished.resolve(); }, Qt::QueuedConnection);

    // Armed before the start, so that no step of the run can outlast it.
    bool timedOut = false;
    std::unique_ptr<ClockTimer> grace;
    QProcess* const child = process.get();
    const auto limit = Clock::shared().schedule(
        Clock::Duration(qint64(std::llround(std::max(timeout, 0.0) * 1000.0))), false, [&] {
            if (child->state() == QProcess::NotRunning) return;
            timedOut = true;
            signalGroup(child->processId(), SIGTERM);
            grace = Clock::shared().schedule(killGrace, false,
                                             [child] { signalGroup(child->processId(), SIGKILL); });
        });

    process->start();
    if (!process->waitForStarted(-1)) {
        throw AccountBridge::BridgeError::failed(cli, QStringLiteral("não foi possível iniciar (") +
                                                          process->errorString() +
                                                          QStringLiteral(")"));
    }
    const qint64 pid = process->processId();
    if (input) {
        process->write(*input); // written as the pipe takes it, while the outputs are read
        process->closeWriteChannel();
    }

    co_await finished;
    limit->stop();
    if (grace) grace->stop();

    if (timedOut) {
        // The leader is gone; helpers that ignored the request go now.
        signalGroup(pid, SIGKILL);
        throw AccountBridge::BridgeError::failed(cli, QStringLiteral("não respondeu em ") +
                                                          QString::number(qint64(timeout)) +
                                                          QStringLiteral(" s"));
    }
    BridgeRun result;
    result.status = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    result.out = process->readAllStandardOutput();
    result.err = process->readAllStandardError();
    co_return result;
}

} // namespace nolvea
