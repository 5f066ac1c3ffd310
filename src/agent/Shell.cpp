#include "agent/Shell.h"

#include "agent/ProcessStartError.h"
#include "agent/ToolError.h"
#include "support/Clock.h"
#include "support/Promise.h"

#include <QFileInfo>
#include <QPointer>
#include <QProcess>

#include <signal.h>
#include <unistd.h>

namespace nolvea::Shell {

namespace {

struct Outcome {
    int status = 0;
    bool crashed = false;
    bool cancelled = false;
    QByteArray out;
    QByteArray err;
};

// One child process and its timers. It outlives the waiting coroutine when that goes away
// early (cancelled or dropped): the group is then stopped and the job deletes itself once
// the child has ended.
class Job : public QObject {
public:
    Job(const QString& executable, const QStringList& arguments)
        : m_process(new QProcess(this)) {
        m_process->setProgram(executable);
        m_process->setArguments(arguments);
        m_process->setProcessChannelMode(QProcess::SeparateChannels);
        m_process->setInputChannelMode(QProcess::ForwardedInputChannel);
        // A group of its own, so a stop reaches the helpers the program starts too.
        m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
        connect(m_process, &QProcess::readyReadStandardOutput, this,
                [this] { m_outcome.out += m_process->readAllStandardOutput(); });
        connect(m_process, &QProcess::readyReadStandardError, this,
                [this] { m_outcome.err += m_process->readAllStandardError(); });
        connect(m_process, &QProcess::finished, this, &Job::onFinished);
    }

    ~Job() override { killGroup(SIGKILL); }

    // Starts the child; throws `ProcessStartError` when it cannot.
    void start(double timeout) {
        m_process->start(QIODevice::ReadOnly);
        if (!m_process->waitForStarted(-1)) throw ProcessStartError(startFailure());
        m_pid = m_process->processId();
        const auto limit = std::chrono::milliseconds(qint64(std::max(0.0, timeout) * 1000));
        m_timeLimit = Clock::shared().schedule(limit, false, [this] { stop(); });
    }

    Promise<Outcome> result;

    // The waiter is gone: stop the child if it still runs, and go away once it has ended.
    void abandon() {
        m_abandoned = true;
        if (m_finished)
            deleteLater();
        else
            stop();
    }

    // Stops the child; the result then reports the cancellation.
    void cancel() {
        if (m_finished) return;
        m_outcome.cancelled = true;
        stop();
    }

    void stop() {
        if (m_finished || m_stopping) return;
        m_stopping = true;
        killGroup(SIGTERM);
        m_grace = Clock::shared().schedule(killGrace, false, [this] { killGroup(SIGKILL); });
    }

private:
    QString startFailure() const {
        const QString program = m_process->program();
        const QFileInfo info(program);
        if (!info.exists()) return QStringLiteral("O programa \"%1\" não existe.").arg(program);
        if (!info.isFile() || !info.isExecutable())
            return QStringLiteral("O programa \"%1\" não pode ser executado.").arg(program);
        return QStringLiteral("Não foi possível iniciar o programa \"%1\".").arg(program);
    }

    void killGroup(int signal) {
        // Only while the leader has not been reaped: its id (and group) may be reused after.
        if (m_pid > 0 && !m_finished) ::kill(-pid_t(m_pid), signal);
    }

    void onFinished(int exitCode, QProcess::ExitStatus status) {
        // What is still in the pipes belongs to the result.
        m_outcome.out += m_process->readAllStandardOutput();
        m_outcome.err += m_process->readAllStandardError();
        m_outcome.status = exitCode;
        m_outcome.crashed = status == QProcess::CrashExit;
        m_finished = true;
        m_timeLimit.reset();
        m_grace.reset();
        // Settle from the event loop, not from inside the process's own signal.
        QMetaObject::invokeMethod(
            this,
            [this] {
                result.resolve(std::move(m_outcome));
                if (m_abandoned) deleteLater();
            },
            Qt::QueuedConnection);
    }

    QProcess* m_process;
    qint64 m_pid = 0;
    Outcome m_outcome;
    bool m_finished = false;
    bool m_stopping = false;
    bool m_abandoned = false;
    std::unique_ptr<ClockTimer> m_timeLimit;
    std::unique_ptr<ClockTimer> m_grace;
};

// Hands the job over to itself when the coroutine ends, however it ends.
struct Abandon {
    QPointer<Job> job;
    ~Abandon() {
        if (job) job->abandon();
    }
};

} // namespace

QCoro::Task<QString> run(QString executable, QStringList arguments, double timeout,
                         CancelToken cancel) {
    cancel.check();
    auto* job = new Job(executable, arguments);
    try {
        job->start(timeout);
    } catch (...) {
        delete job;
        throw;
    }
    Abandon guard{job};
    // The callback may run on any thread; the job lives on this one.
    const auto registration = cancel.onCancel([job] {
        QMetaObject::invokeMethod(
            job, [job] { job->cancel(); }, Qt::QueuedConnection);
    });

    const Outcome outcome = co_await job->result;
    if (outcome.cancelled) throw Cancelled();
    if (outcome.status == 0 && !outcome.crashed) co_return QString::fromUtf8(outcome.out).trimmed();
    const QString err = QString::fromUtf8(outcome.err);
    if (!err.isEmpty()) throw ToolError::failed(err);
    throw ToolError::failed(QStringLiteral("Falhou (%1).").arg(outcome.status));
}

} // namespace nolvea::Shell
