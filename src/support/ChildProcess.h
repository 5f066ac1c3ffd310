#pragma once

#include "support/CancelToken.h"
#include "support/Clock.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace nolvea {

// One child process owned by this program. It runs in a process group of its own, so that a
// stop reaches the helpers it starts too; its output pipes are read while it runs, so that it
// never stalls on a full pipe; a stop sends SIGTERM to the group and SIGKILL after a grace, on
// the injectable clock.
//
// Signals go to the group only while its leader has not been reaped: until then the leader's
// id names our group and no other. The turn of the event loop that reaps a leader we asked to
// stop sends the group one last SIGKILL, for helpers that ignored the request (a group with
// members left keeps its id); after that nothing is sent, since the id may be handed out again.
//
// Dropping the object while the child runs stops it in the background; what is left goes away
// once the child has ended. Use it from the thread whose event loop runs it.
class ChildProcess {
public:
    enum class Input { nullDevice, pipe, inherited };
    // capture: both outputs read into `Exit` (or handed to the readers); logFile: both
    // appended to `logFile`.
    enum class Output { capture, discard, inherited, logFile };

    struct Setup {
        QString program;
        QStringList arguments;
        QString workingFolder;                          // ours when empty
        std::optional<QProcessEnvironment> environment; // ours when absent
        Input input = Input::nullDevice;
        Output output = Output::capture;
        QString logFile;
        std::optional<Clock::Duration> timeLimit; // counted from the start
        Clock::Duration stopGrace{2000};
        std::optional<CancelToken> cancel; // stops the child when it fires
    };

    // How the child ended.
    struct Exit {
        int status = 0;         // the exit code, or the signal that ended it
        bool signalled = false; // ended by a signal
        bool timedOut = false;  // the time limit stopped it
        bool cancelled = false; // the cancel token stopped it
        QByteArray out;         // what no reader took
        QByteArray err;
    };

    explicit ChildProcess(Setup setup);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Chunks of standard output or error go to these as they come, not into `Exit`. Set
    // before `start`.
    void onOutput(std::function<void(const QByteArray&)> reader);
    void onErrorOutput(std::function<void(const QByteArray&)> reader);
    // Runs once the child has ended, before `finished` resumes.
    void onFinished(std::function<void()> handler);

    // Starts the child; throws `ProcessStartError` when it cannot be started.
    QCoro::Task<> start();
    // Resumes once the child has ended. One waiter only.
    QCoro::Task<Exit> finished();
    // Starts the child and waits for its end; throws `ProcessStartError`.
    static QCoro::Task<Exit> run(Setup setup);

    // Queues bytes for standard input (`Input::pipe`), written as the pipe takes them; false
    // when the child does not run.
    bool write(const QByteArray& bytes);
    void closeInput();
    // SIGTERM to the group, SIGKILL after the grace; nothing once the child has ended.
    void stop();

    bool isRunning() const;
    // The leader's id while it runs, else 0.
    qint64 processId() const;

private:
    class Core;
    Core* m_core; // lives on by itself while the child runs after we are gone
};

} // namespace nolvea
