#include "support/ChildProcess.h"

#include "support/Async.h"
#include "support/Clock.h"
#include "support/ProcessStartError.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"

#include <QFile>
#include <gtest/gtest.h>

#include <signal.h>

using namespace nolvea;
using namespace std::chrono_literals;

namespace {

using Exit = ChildProcess::Exit;

// Real children of /bin/sh on a manual clock. Scripts write the ids of the processes they
// start into files of the test's home, which the test then watches.
class ChildProcessTest : public ::testing::Test {
protected:
    ManualClock clock;
    QString dir = test::home();

    void SetUp() override {
        for (const char* name : {"leader", "helper", "ready"})
            QFile::remove(path(name));
        Clock::install(&clock);
    }
    void TearDown() override {
        for (const char* name : {"leader", "helper"})
            if (const int pid = idIn(name); pid > 0) ::kill(pid, SIGKILL);
        Clock::install(nullptr);
    }

    QString path(const char* name) const { return dir + u'/' + QLatin1String(name); }
    int idIn(const char* name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toInt() : 0;
    }
    bool alive(const char* name) const {
        const int pid = idIn(name);
        return pid > 0 && ::kill(pid, 0) == 0;
    }

    static ChildProcess::Setup shell(const QString& script) {
        ChildProcess::Setup setup;
        setup.program = QStringLiteral("/bin/sh");
        setup.arguments = {QStringLiteral("-c"), script};
        return setup;
    }

    // Starts the script and waits until it has touched "ready".
    std::unique_ptr<ChildProcess> started(ChildProcess::Setup setup) {
        auto child = std::make_unique<ChildProcess>(std::move(setup));
        test::await(child->start());
        EXPECT_TRUE(test::spinUntil([&] { return QFile::exists(path("ready")); }));
        return child;
    }

    // A helper in the group that ignores SIGTERM, under a leader that obeys it.
    QString withStubbornHelper() const {
        return "(trap '' TERM; while :; do sleep 1; done) & echo $! > " + path("helper") +
               "; echo $$ > " + path("leader") + "; touch " + path("ready") + "; wait";
    }
};

TEST_F(ChildProcessTest, ReportsHowTheChildEnded) {
    const struct {
        const char* script;
        int status;
        bool signalled;
        QByteArray out, err;
    } cases[] = {
        {"exit 0", 0, false, "", ""},
        {"echo out; echo err >&2; exit 3", 3, false, "out\n", "err\n"},
        {"echo partial; kill -9 $$", 9, true, "partial\n", ""},
    };
    for (const auto& c : cases) {
        const Exit exit = test::await(ChildProcess::run(shell(c.script)));
        EXPECT_EQ(exit.status, c.status) << c.script;
        EXPECT_EQ(exit.signalled, c.signalled) << c.script;
        EXPECT_EQ(exit.out, c.out) << c.script;
        EXPECT_EQ(exit.err, c.err) << c.script;
        EXPECT_FALSE(exit.timedOut || exit.cancelled) << c.script;
    }
    EXPECT_EQ(clock.pendingTimers(), 0);
}

TEST_F(ChildProcessTest, FeedsInputWhileDrainingBothOutputs) {
    // Both pipes fill before the child reads a byte: reading one output at a time, or writing
    // the input first, stalls here for ever.
    auto setup = shell("head -c 2097152 /dev/zero; head -c 2097152 /dev/zero >&2; wc -c");
    setup.input = ChildProcess::Input::pipe;
    ChildProcess child(std::move(setup));
    test::await(child.start());
    EXPECT_TRUE(child.write(QByteArray(3 * 1024 * 1024, 'x')));
    child.closeInput();
    const Exit exit = test::await(child.finished());
    EXPECT_EQ(exit.status, 0);
    EXPECT_EQ(exit.err.size(), 2097152);
    EXPECT_TRUE(exit.out.endsWith("3145728\n"));
    EXPECT_FALSE(child.isRunning());
    EXPECT_EQ(child.processId(), 0);
}

TEST_F(ChildProcessTest, ReadersTakeTheOutputAsItComes) {
    auto setup =
        shell("echo one; echo two >&2; touch " + path("ready") + "; read line; echo $line");
    setup.input = ChildProcess::Input::pipe;
    QByteArray out, err;
    bool ended = false;
    ChildProcess child(std::move(setup));
    child.onOutput([&](const QByteArray& bytes) { out += bytes; });
    child.onErrorOutput([&](const QByteArray& bytes) { err += bytes; });
    child.onFinished([&] { ended = true; });
    test::await(child.start());
    ASSERT_TRUE(test::spinUntil([&] { return out == "one\n" && err == "two\n"; }));
    child.write("three\n");
    const Exit exit = test::await(child.finished());
    EXPECT_TRUE(ended);
    EXPECT_EQ(out, "one\nthree\n");
    EXPECT_TRUE(exit.out.isEmpty() && exit.err.isEmpty());
}

TEST_F(ChildProcessTest, BothOutputsCanGoToALog) {
    QFile log(path("log"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
    log.write("before\n");
    log.close();
    auto setup = shell("echo out; echo err >&2");
    setup.output = ChildProcess::Output::logFile;
    setup.logFile = path("log");
    EXPECT_EQ(test::await(ChildProcess::run(std::move(setup))).status, 0);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), "before\nout\nerr\n");
}

TEST_F(ChildProcessTest, AProgramThatCannotStartFailsAtOnce) {
    QFile plain(path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const struct {
        QString program;
        QString message;
    } cases[] = {
        {"/nonexistent/tool", "O programa \"/nonexistent/tool\" não existe."},
        {path("plain"), "O programa \"" + path("plain") + "\" não pode ser executado."},
        {dir, "O programa \"" + dir + "\" não pode ser executado."},
    };
    for (const auto& c : cases) {
        ChildProcess::Setup setup;
        setup.program = c.program;
        setup.timeLimit = 8s;
        try {
            test::await(ChildProcess::run(std::move(setup)));
            ADD_FAILURE() << "started " << c.program.toStdString();
        } catch (const ProcessStartError& e) {
            EXPECT_EQ(e.message(), c.message);
            EXPECT_FALSE(e.reason().isEmpty());
        }
    }
    EXPECT_EQ(clock.pendingTimers(), 0);
}

TEST_F(ChildProcessTest, AStopEndsTheWholeGroupAndKillsWhatIgnoresIt) {
    // The leader obeys SIGTERM; its helper in the group ignores it and goes with the leader.
    auto child = started(shell(withStubbornHelper()));
    ASSERT_TRUE(alive("helper"));
    child->stop();
    const Exit exit = test::await(child->finished());
    EXPECT_TRUE(exit.signalled);
    EXPECT_EQ(exit.status, SIGTERM);
    EXPECT_TRUE(test::spinUntil([&] { return !alive("helper"); }));
    EXPECT_EQ(clock.pendingTimers(), 0);
}

TEST_F(ChildProcessTest, ALeaderThatIgnoresTheStopIsKilledAfterTheGrace) {
    auto setup = shell("trap '' TERM; echo $$ > " + path("leader") + "; touch " + path("ready") +
                       "; while :; do sleep 1; done");
    setup.stopGrace = 3s;
    auto child = started(std::move(setup));
    child->stop();
    clock.advance(2900ms);
    EXPECT_FALSE(test::spinUntil([&] { return !alive("leader"); }, 300));
    clock.advance(100ms);
    const Exit exit = test::await(child->finished());
    EXPECT_EQ(exit.status, SIGKILL);
    EXPECT_FALSE(alive("leader"));
}

TEST_F(ChildProcessTest, TheTimeLimitStopsTheChild) {
    auto setup = shell("touch " + path("ready") + "; sleep 60");
    setup.timeLimit = 8s;
    auto child = started(std::move(setup));
    clock.advance(7900ms);
    EXPECT_TRUE(child->isRunning());
    clock.advance(100ms);
    const Exit exit = test::await(child->finished());
    EXPECT_TRUE(exit.timedOut);
    EXPECT_EQ(exit.status, SIGTERM);
}

TEST_F(ChildProcessTest, TheCancelTokenStopsTheChild) {
    CancelToken cancel;
    auto setup = shell("echo $$ > " + path("leader") + "; touch " + path("ready") + "; sleep 60");
    setup.cancel = cancel;
    auto child = started(std::move(setup));
    cancel.cancel();
    const Exit exit = test::await(child->finished());
    EXPECT_TRUE(exit.cancelled);
    EXPECT_FALSE(alive("leader"));
}

TEST_F(ChildProcessTest, NothingIsSignalledOnceTheLeaderHasBeenReaped) {
    // A leader that ends by itself leaves a helper behind in its group: the group's id may be
    // anyone's once the leader is reaped, so a later stop must send nothing.
    auto setup = shell("sleep 60 & echo $! > " + path("helper") + "; touch " + path("ready"));
    auto child = started(std::move(setup));
    EXPECT_EQ(test::await(child->finished()).status, 0);
    child->stop();
    clock.advance(10s);
    QCoreApplication::processEvents();
    EXPECT_TRUE(alive("helper"));
}

TEST_F(ChildProcessTest, DroppingARunningChildStopsItInTheBackground) {
    auto setup = shell("trap '' TERM; echo $$ > " + path("leader") + "; touch " + path("ready") +
                       "; while :; do sleep 1; done");
    auto child = started(std::move(setup));
    child.reset();
    EXPECT_FALSE(test::spinUntil([&] { return !alive("leader"); }, 300));
    clock.advance(2s);
    EXPECT_TRUE(test::spinUntil([&] { return !alive("leader"); }));
}

} // namespace
