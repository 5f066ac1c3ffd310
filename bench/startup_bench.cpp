// The running application measured from outside, as a person starts it under a tray host:
// the time from starting the program until its icon sits in the tray, and what it costs while
// it waits for the hotkey (resident memory, processor time over a minute of idling; set
// NOLVEA_BENCH_IDLE_SECONDS to shorten the minute). Run under Xvfb or a desktop session with
// trayer installed.
#include "BenchMain.h"
#include "app/DevRun.h"
#include "support/TestEnvironment.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <unistd.h>

// Xlib's macros last.
#include "app/X11Windows.h"

using namespace nolvea;

namespace {

// A tray host for the whole run, unless the session already has one.
class TrayHost {
public:
    explicit TrayHost(const test::X11Windows& x) {
        if (x.trayManager() != None) return;
        m_trayer.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "request",
                                  "--height", "24", "--transparent", "false"});
        m_trayer.waitForStarted();
        for (int i = 0; i < 500 && x.trayManager() == None; ++i)
            QThread::msleep(10);
    }
    ~TrayHost() {
        if (m_trayer.state() == QProcess::NotRunning) return;
        m_trayer.terminate();
        m_trayer.waitForFinished(5000);
    }

private:
    QProcess m_trayer;
};

void prepareSettings() {
    test::configureSetting("hasCompletedOnboarding", true);
    test::configureSetting("speakAnswers", false);
}

// Starts the program and waits, polling every millisecond, for its icon in the tray; the
// seconds it took, or a negative value when it never came.
double startUntilTrayIcon(QProcess& nolvea, const test::X11Windows& x) {
    QElapsedTimer timer;
    timer.start();
    nolvea.start(test::nolveaProgram(), {});
    if (!nolvea.waitForStarted(10000)) return -1;
    const qint64 pid = nolvea.processId();
    while (timer.elapsed() < 20000) {
        if (x.embeddedIconOf(pid) != None) return double(timer.nsecsElapsed()) / 1e9;
        QThread::usleep(1000);
    }
    return -1;
}

void stop(QProcess& nolvea) {
    nolvea.terminate();
    if (!nolvea.waitForFinished(10000)) nolvea.kill();
    nolvea.waitForFinished();
}

void BM_ColdStartToTrayIcon(benchmark::State& state) {
    test::X11Windows x;
    if (!x.get()) return state.SkipWithError("no display");
    TrayHost host(x);
    if (x.trayManager() == None) return state.SkipWithError("no tray host (install trayer)");
    prepareSettings();
    for (auto _ : state) {
        QProcess nolvea;
        const double seconds = startUntilTrayIcon(nolvea, x);
        stop(nolvea);
        if (seconds < 0) {
            state.SkipWithError("the icon never reached the tray");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_ColdStartToTrayIcon)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

struct ProcessSample {
    double cpuSeconds = 0; // user and system time of all its threads
    double rssMiB = 0;
};

ProcessSample sample(qint64 pid) {
    ProcessSample s;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        // Fields after the command name, which may hold spaces: utime and stime are 14 and 15.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            s.cpuSeconds =
                double(fields[11].toLongLong() + fields[12].toLongLong()) / ::sysconf(_SC_CLK_TCK);
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& l : status.readAll().split('\n'))
            if (l.startsWith("VmRSS:"))
                s.rssMiB = l.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    return s;
}

void BM_IdleMinute(benchmark::State& state) {
    test::X11Windows x;
    if (!x.get()) return state.SkipWithError("no display");
    TrayHost host(x);
    prepareSettings();
    const int seconds = qEnvironmentVariableIsSet("NOLVEA_BENCH_IDLE_SECONDS")
                            ? qEnvironmentVariableIntValue("NOLVEA_BENCH_IDLE_SECONDS")
                            : 60;
    for (auto _ : state) {
        QProcess nolvea;
        if (startUntilTrayIcon(nolvea, x) < 0) {
            stop(nolvea);
            state.SkipWithError("the icon never reached the tray");
            break;
        }
        const qint64 pid = nolvea.processId();
        QThread::sleep(5); // the launch's own work settles
        const ProcessSample before = sample(pid);
        QThread::sleep(seconds);
        const ProcessSample after = sample(pid);
        stop(nolvea);
        state.SetIterationTime(seconds);
        state.counters["rss_MiB"] = after.rssMiB;
        state.counters["cpu_ms"] = (after.cpuSeconds - before.cpuSeconds) * 1000;
        state.counters["cpu_percent"] = 100 * (after.cpuSeconds - before.cpuSeconds) / seconds;
    }
}
BENCHMARK(BM_IdleMinute)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return bench::runInTestEnvironment<QApplication>(argc, argv);
}
