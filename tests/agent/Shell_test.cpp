#include "agent/Shell.h"
#include "agent/ToolError.h"
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

QString sh(const QString& script, double timeout = 30) {
    return test::await(Shell::run("/bin/sh", {"-c", script}, timeout));
}

// The message of the `ToolError` the script fails with.
QString failure(const QString& script) {
    try {
        sh(script);
    } catch (const ToolError& e) {
        EXPECT_EQ(e.kind(), ToolError::Kind::failed);
        return e.message();
    }
    ADD_FAILURE() << "no failure";
    return {};
}

bool alive(const QString& pidFile) {
    QFile f(pidFile);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const int pid = f.readAll().trimmed().toInt();
    return pid > 0 && ::kill(pid, 0) == 0;
}

TEST(Shell, HandsBackTrimmedStandardOutput) {
    EXPECT_EQ(sh("printf '  word\\n\\n'; echo noise >&2"), "word");
    EXPECT_EQ(sh("exit 0"), "");
    EXPECT_EQ(sh("printf 'a\\377b'"), QString("a\uFFFDb"));
}

TEST(Shell, PassesArgumentsWithoutAShell) {
    const QString out = test::await(Shell::run(
        "/bin/sh", {"-c", "printf '%s|' \"$@\"", "sh", "a b", "$HOME", "*", "\"q\""}, 30));
    EXPECT_EQ(out, "a b|$HOME|*|\"q\"|");
}

TEST(Shell, ReportsAFailedStatus) {
    // Standard error as it is, line break included; standard output is dropped.
    EXPECT_EQ(failure("echo out; echo 'não achei' >&2; exit 2"), "não achei\n");
    EXPECT_EQ(failure("echo out; exit 1"), "Falhou (1).");
}

TEST(Shell, DrainsBothPipesWhileTheProgramRuns) {
    // Far more than a pipe holds, on both channels, before the program can end.
    const QString out = sh("head -c 1048576 /dev/zero | tr '\\0' a; "
                           "head -c 1048576 /dev/zero | tr '\\0' b >&2");
    EXPECT_EQ(out.size(), 1048576);
    EXPECT_EQ(out.count(u'a'), 1048576);
}

TEST(Shell, AMissingProgramFailsAtOnce) {
    ManualClock clock;
    Clock::install(&clock);
    for (const QString& program : {QString("/nonexistent/tool"), test::home()}) {
        try {
            test::await(Shell::run(program, {}, 8));
            ADD_FAILURE() << "started";
        } catch (const ProcessStartError& e) {
            EXPECT_TRUE(e.message().contains(program)) << e.message().toStdString();
        }
    }
    EXPECT_EQ(clock.pendingTimers(), 0);
    Clock::install(nullptr);
}

class ShellLimitTest : public ::testing::Test {
protected:
    ManualClock clock;
    QString marker = test::home() + "/started";
    QString grandchild = test::home() + "/grandchild";
    void SetUp() override {
        QFile::remove(marker);
        QFile::remove(grandchild);
        Clock::install(&clock);
    }
    void TearDown() override { Clock::install(nullptr); }

    QCoro::Task<QString> start(const QString& script, CancelToken cancel = {}) {
        auto task = Shell::run("/bin/sh", {"-c", script}, 8, cancel);
        EXPECT_TRUE(test::spinUntil([&] { return QFile::exists(marker); }));
        return task;
    }

    QString failureOf(QCoro::Task<QString>& task) {
        EXPECT_TRUE(test::spinUntil([&] { return task.isReady(); }));
        try {
            test::await(std::move(task));
        } catch (const ToolError& e) {
            return e.message();
        }
        return "no failure";
    }
};

TEST_F(ShellLimitTest, StopsTheWholeGroupAtTheTimeLimit) {
    auto task = start("sleep 60 & echo $! > " + grandchild + "; touch " + marker + "; wait");
    ASSERT_TRUE(alive(grandchild));
    clock.advance(7900ms);
    EXPECT_FALSE(test::spinUntil([&] { return task.isReady(); }, 100));
    clock.advance(100ms);
    EXPECT_EQ(failureOf(task), "Falhou (15).");
    EXPECT_TRUE(test::spinUntil([&] { return !alive(grandchild); }, 2000));
}

TEST_F(ShellLimitTest, KillsAProgramThatIgnoresTheStopRequest) {
    auto task = start("trap '' TERM; touch " + marker + "; while :; do sleep 1; done");
    clock.advance(8s);
    EXPECT_FALSE(test::spinUntil([&] { return task.isReady(); }, 300));
    clock.advance(Shell::killGrace);
    EXPECT_EQ(failureOf(task), "Falhou (9).");
}

TEST_F(ShellLimitTest, AProgramThatEndsInTimeLeavesNoTimerBehind) {
    auto task = start("touch " + marker);
    ASSERT_TRUE(test::spinUntil([&] { return task.isReady(); }));
    EXPECT_EQ(test::await(std::move(task)), "");
    EXPECT_EQ(clock.pendingTimers(), 0);
}

TEST_F(ShellLimitTest, CancellationStopsTheProgram) {
    CancelToken cancel;
    auto task = start("echo $$ > " + grandchild + "; touch " + marker + "; sleep 60", cancel);
    cancel.cancel();
    ASSERT_TRUE(test::spinUntil([&] { return task.isReady(); }));
    EXPECT_THROW(test::await(std::move(task)), Cancelled);
    EXPECT_FALSE(alive(grandchild));
}

} // namespace
