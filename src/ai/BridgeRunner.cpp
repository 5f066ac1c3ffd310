#include "ai/BridgeRunner.h"

#include "support/ChildProcess.h"
#include "support/PrivateTempDir.h"
#include "support/ProcessStartError.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <mutex>

#include <signal.h>
#include <sys/stat.h>

namespace nolvea {

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
    ChildProcess::Setup setup;
    setup.program = program;
    setup.arguments = arguments;
    setup.workingFolder = workingFolder();
    setup.environment = environment(cli);
    setup.input = input ? ChildProcess::Input::pipe : ChildProcess::Input::nullDevice;
    setup.timeLimit = Clock::Duration(qint64(std::llround(std::max(timeout, 0.0) * 1000.0)));
    setup.stopGrace = killGrace;

    ChildProcess child(std::move(setup));
    try {
        co_await child.start();
    } catch (const ProcessStartError& e) {
        throw AccountBridge::BridgeError::failed(cli, QStringLiteral("não foi possível iniciar (") +
                                                          e.reason() + QStringLiteral(")"));
    }
    if (input) {
        child.write(*input); // written as the pipe takes it, while the outputs are read
        child.closeInput();
    }
    const ChildProcess::Exit exit = co_await child.finished();
    if (exit.timedOut) {
        throw AccountBridge::BridgeError::failed(cli, QStringLiteral("não respondeu em ") +
                                                          QString::number(qint64(timeout)) +
                                                          QStringLiteral(" s"));
    }
    BridgeRun result;
    result.status = exit.signalled ? -1 : exit.status;
    result.out = exit.out;
    result.err = exit.err;
    co_return result;
}

} // namespace nolvea
