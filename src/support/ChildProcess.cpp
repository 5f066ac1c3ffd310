#include "support/ChildProcess.h"

#include "support/ProcessStartError.h"
#include "support/Promise.h"

#include <QFileInfo>
#include <QObject>
#include <QProcess>

#include <signal.h>
#include <unistd.h>

namespace nolvea {

// The process and everything that must outlive the handle while the child runs.
class ChildProcess::Core : public QObject {
public:
    explicit Core(Setup setup)
        : m_setup(std::move(setup))
        , m_process(new QProcess(this)) {
        QProcess& p = *m_process;
        p.setProgram(m_setup.program);
        p.setArguments(m_setup.arguments);
        if (!m_setup.workingFolder.isEmpty()) p.setWorkingDirectory(m_setup.workingFolder);
        if (m_setup.environment) p.setProcessEnvironment(*m_setup.environment);
        // A group of its own, so that a stop reaches the helpers it starts.
        p.setChildProcessModifier([] { ::setpgid(0, 0); });
        switch (m_setup.input) {
        case Input::nullDevice:
            p.setStandardInputFile(QProcess::nullDevice());
            break;
        case Input::inherited:
            p.setInputChannelMode(QProcess::ForwardedInputChannel);
            break;
        case Input::pipe:
            break;
        }
        switch (m_setup.output) {
        case Output::capture:
            p.setProcessChannelMode(QProcess::SeparateChannels);
            connect(&p, &QProcess::readyReadStandardOutput, this, [this] { takeOutput(); });
            connect(&p, &QProcess::readyReadStandardError, this, [this] { takeErrorOutput(); });
            break;
        case Output::discard:
            p.setStandardOutputFile(QProcess::nullDevice());
            p.setStandardErrorFile(QProcess::nullDevice());
            break;
        case Output::inherited:
            p.setProcessChannelMode(QProcess::ForwardedChannels);
            break;
        case Output::logFile:
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.setStandardOutputFile(m_setup.logFile, QIODevice::Append);
            break;
        }
        connect(&p, &QProcess::started, this, [this] { m_started.resolve(); });
        connect(&p, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) failedToStart();
        });
        connect(&p, &QProcess::finished, this, &Core::ended);
    }

    ~Core() override {
        // Only reached with a child still running at teardown: QProcess would wait for it.
        signalGroup(SIGKILL);
    }

    std::function<void(const QByteArray&)> outputReader;
    std::function<void(const QByteArray&)> errorReader;
    std::function<void()> finishedHandler;

    QCoro::Task<> start() {
        if (m_launched) throw ProcessStartError(startMessage(), QStringLiteral("já iniciado"));
        m_launched = true;
        Promise<> started = m_started;
        m_process->start();
        m_pid = m_process->processId();
        // The child sets its group too; whichever runs first wins the race with a stop.
        if (m_pid > 0) ::setpgid(pid_t(m_pid), pid_t(m_pid));
        if (m_startFailed) co_await started; // throws
        if (m_setup.timeLimit)
            m_limit = Clock::shared().schedule(*m_setup.timeLimit, false, [this] {
                m_exit.timedOut = true;
                stop();
            });
        if (m_setup.cancel)
            m_cancelled = m_setup.cancel->onCancel([this] {
                // May come from any thread; the process lives on this one.
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (m_reaped) return;
                        m_exit.cancelled = true;
                        stop();
                    },
                    Qt::QueuedConnection);
            });
        co_await started;
    }

    QCoro::Task<Exit> finished() {
        if (!m_done) m_done.emplace();
        Promise<Exit> done = *m_done;
        co_return co_await done;
    }

    bool write(const QByteArray& bytes) {
        if (!isRunning()) return false;
        return m_process->write(bytes) == bytes.size();
    }

    void closeInput() {
        if (m_process->state() != QProcess::NotRunning) m_process->closeWriteChannel();
    }

    void stop() {
        if (!isRunning() || m_stopping) return;
        m_stopping = true;
        closeInput();
        signalGroup(SIGTERM);
        m_grace =
            Clock::shared().schedule(m_setup.stopGrace, false, [this] { signalGroup(SIGKILL); });
    }

    bool isRunning() const { return m_pid > 0 && !m_reaped && !m_startFailed; }
    qint64 processId() const { return isRunning() ? m_pid : 0; }

    // The handle is gone: nobody reads or waits any more. A running child is stopped, and
    // this goes once it has ended.
    void release() {
        outputReader = nullptr;
        errorReader = nullptr;
        finishedHandler = nullptr;
        // A waiter that went away must never be resumed.
        m_started = Promise<>();
        m_done.reset();
        m_cancelled = {};
        if (isRunning()) {
            m_orphan = true;
            stop();
        } else {
            m_limit.reset();
            m_grace.reset();
            deleteLater();
        }
    }

private:
    // Only while the leader is known to be unreaped: a child that failed to start was reaped
    // by QProcess already.
    void signalGroup(int signal) {
        if (isRunning()) ::kill(-pid_t(m_pid), signal);
    }

    void takeOutput() {
        const QByteArray bytes = m_process->readAllStandardOutput();
        if (bytes.isEmpty()) return;
        // A copy: the reader may drop the handle, and with it the reader itself.
        if (const auto reader = outputReader)
            reader(bytes);
        else
            m_exit.out += bytes;
    }

    void takeErrorOutput() {
        const QByteArray bytes = m_process->readAllStandardError();
        if (bytes.isEmpty()) return;
        if (const auto reader = errorReader)
            reader(bytes);
        else
            m_exit.err += bytes;
    }

    QString startMessage() const {
        const QString program = m_setup.program;
        const QFileInfo info(program);
        if (info.isAbsolute() && !info.exists())
            return QStringLiteral("O programa \"%1\" não existe.").arg(program);
        if (info.exists() && (!info.isFile() || !info.isExecutable()))
            return QStringLiteral("O programa \"%1\" não pode ser executado.").arg(program);
        return QStringLiteral("Não foi possível iniciar o programa \"%1\".").arg(program);
    }

    void failedToStart() {
        m_startFailed = true;
        m_limit.reset();
        m_cancelled = {};
        m_started.reject(
            std::make_exception_ptr(ProcessStartError(startMessage(), m_process->errorString())));
        if (m_orphan) deleteLater();
    }

    void ended(int exitCode, QProcess::ExitStatus status) {
        // QProcess has reaped the leader by now.
        m_reaped = true;
        if (m_stopping) {
            // Helpers that ignored the stop go with it, in the same turn that reaped the
            // leader: the group is either empty or still holds its id.
            ::kill(-pid_t(m_pid), SIGKILL);
        }
        if (m_setup.output == Output::capture) {
            takeOutput();
            takeErrorOutput();
        }
        m_limit.reset();
        m_grace.reset();
        m_cancelled = {};
        m_exit.status = exitCode;
        m_exit.signalled = status == QProcess::CrashExit;
        if (const auto handler = std::exchange(finishedHandler, nullptr)) handler();
        // Settled from the event loop, never inside the process's own signal: the waiter
        // may drop the handle, and with it this object.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_orphan) {
                    deleteLater();
                    return;
                }
                if (!m_done) m_done.emplace();
                m_done->resolve(std::move(m_exit));
            },
            Qt::QueuedConnection);
    }

    Setup m_setup;
    QProcess* m_process;
    qint64 m_pid = 0;
    bool m_launched = false;
    bool m_startFailed = false;
    bool m_reaped = false;
    bool m_stopping = false;
    bool m_orphan = false;
    Promise<> m_started;
    std::optional<Promise<Exit>> m_done;
    Exit m_exit;
    std::unique_ptr<ClockTimer> m_limit;
    std::unique_ptr<ClockTimer> m_grace;
    CancelToken::Registration m_cancelled;
};

ChildProcess::ChildProcess(Setup setup)
    : m_core(new Core(std::move(setup))) {}

ChildProcess::~ChildProcess() {
    m_core->release();
}

void ChildProcess::onOutput(std::function<void(const QByteArray&)> reader) {
    m_core->outputReader = std::move(reader);
}

void ChildProcess::onErrorOutput(std::function<void(const QByteArray&)> reader) {
    m_core->errorReader = std::move(reader);
}

void ChildProcess::onFinished(std::function<void()> handler) {
    m_core->finishedHandler = std::move(handler);
}

QCoro::Task<> ChildProcess::start() {
    return m_core->start();
}

QCoro::Task<ChildProcess::Exit> ChildProcess::finished() {
    return m_core->finished();
}

QCoro::Task<ChildProcess::Exit> ChildProcess::run(Setup setup) {
    ChildProcess child(std::move(setup));
    co_await child.start();
    co_return co_await child.finished();
}

bool ChildProcess::write(const QByteArray& bytes) {
    return m_core->write(bytes);
}

void ChildProcess::closeInput() {
    m_core->closeInput();
}

void ChildProcess::stop() {
    m_core->stop();
}

bool ChildProcess::isRunning() const {
    return m_core->isRunning();
}

qint64 ChildProcess::processId() const {
    return m_core->processId();
}

} // namespace nolvea
