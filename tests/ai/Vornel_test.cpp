#include "ai/Vornel.h"

#include "ai/LLMClient.h"
#include "ai/LLMError.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/LoopbackServer.h"
#include "support/Printers.h"
#include "support/fakes/ManualClock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

namespace nolvea {
namespace {

using namespace std::chrono_literals;

// The server program stands in as a Python script that records its command line and
// environment; its path matches the server pattern under a folder of this test's own, so that
// parallel tests never see each other's server.
// Its HTTP side is the loopback server, ready once the process has written its pid.
class VornelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_token = QUuid::createUuid().toString(QUuid::Id128).left(12);
        const QString serverDir =
            root() + QStringLiteral("/Vornel-M1/") + m_token + QStringLiteral("/server");
        QDir().mkpath(serverDir);
        // The fake server is its own launcher, so that its command line matches the server
        // pattern from the moment it starts.
        m_launcher = serverDir + QStringLiteral("/server.py");
        write(m_launcher,
              QStringLiteral(R"PY(#!/usr/bin/python3
import os, signal, sys, time
record = "%1"
with open(os.path.join(record, "args"), "w") as f:
    f.write("".join(a + "\0" for a in sys.argv[1:]))
with open(os.path.join(record, "env"), "w") as f:
    f.write("".join("%s=%s\n" % kv for kv in os.environ.items()))
with open(os.path.join(record, "launches"), "a") as f:
    f.write("x\n")
print("servidor iniciando")
here = os.path.dirname(os.path.abspath(__file__))
mode_file = os.path.join(here, "mode")
mode = open(mode_file).read().strip() if os.path.exists(mode_file) else "obey"
if mode == "die":
    sys.exit(1)
if mode == "stubborn":
    signal.signal(signal.SIGINT, signal.SIG_IGN)
    signal.signal(signal.SIGTERM, signal.SIG_IGN)
with open(os.path.join(here, "pid"), "w") as f:
    f.write(str(os.getpid()))
while True:
    time.sleep(0.05)
)PY")
                  .arg(root())
                  .toUtf8(),
              true);
        m_serverDir = serverDir;

        m_clock.emplace();
        Clock::install(&*m_clock);
        m_server.setHandler([pid = serverDir + QStringLiteral("/pid")](const test::HttpRequest& r) {
            if (r.path == u"/ready")
                return test::HttpResponse::text("", QFile::exists(pid) ? 200 : 503);
            return test::HttpResponse::text("nada", 404);
        });

        Vornel::Setup setup = Vornel::Setup::standard();
        setup.candidates = {m_launcher};
        setup.serverPattern =
            QStringLiteral("Vornel-M1/") + m_token +
            QStringLiteral(R"(/.*(server/server\.py|install/launcher\.py|install/models\.py))");
        setup.optionsDomain = QStringLiteral("nolvea-test-vornel-") + m_token;
        setup.logPath = root() + QStringLiteral("/logs/VornelControl/vornel.log");
        setup.logLimit = 1000;
        // The clock runs far ahead of real time here: pgrep must never look hung.
        setup.toolLimit = std::chrono::hours(24);
        setup.requestsInFlight = [this] { return m_inFlight; };
        setup.changed = [this] { ++m_changed; };
        m_setup = setup;
        m_vornel = std::make_unique<Vornel>(setup);

        m_client.provider = AIProvider::custom;
        m_client.baseURL = m_server.url(QStringLiteral("/v1"));
        m_client.model = QStringLiteral("vornel-qwen-30b");
    }

    void TearDown() override {
        QProcess::execute(QStringLiteral("/usr/bin/pkill"),
                          {QStringLiteral("-KILL"), QStringLiteral("-f"), m_setup.serverPattern});
        m_vornel.reset();
        Clock::install(nullptr);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, m_setup.optionsDomain).clear();
    }

    QString root() const { return m_dir.path(); }

    static void write(const QString& path, const QByteArray& data, bool executable = false) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
        file.close();
        if (executable)
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                QFileDevice::ExeOwner);
    }
    QByteArray read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void setMode(const char* mode) { write(m_serverDir + QStringLiteral("/mode"), mode); }
    void setOptions(const QByteArray& json) {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_setup.optionsDomain);
        settings.setValue(QStringLiteral("config"), json);
        settings.sync();
    }
    bool serverRunning() const {
        QProcess pgrep;
        pgrep.start(QStringLiteral("/usr/bin/pgrep"),
                    {QStringLiteral("-f"), m_setup.serverPattern});
        pgrep.waitForFinished();
        return pgrep.exitCode() == 0;
    }
    int launches() const { return read(root() + QStringLiteral("/launches")).count('\n'); }

    // Runs the task to its end. Whenever it waits on the manual clock, the clock moves on by
    // `step` after `real` of real time, which the child processes get to do their part.
    template <typename T>
    void drive(QCoro::Task<T>& task, std::chrono::milliseconds step = 500ms,
               std::chrono::milliseconds real = 50ms) {
        QDeadlineTimer deadline(90'000);
        while (!task.isReady() && !deadline.hasExpired()) {
            QDeadlineTimer turn(real);
            while (!turn.hasExpired() && !task.isReady())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (!task.isReady() && m_clock->pendingTimers() > 0) m_clock->advance(step);
        }
        EXPECT_TRUE(task.isReady());
    }

    // Moves the clock on until the stop procedure is over, giving pgrep and pkill real time to
    // answer between steps.
    bool untilStopped() {
        QDeadlineTimer deadline(60'000);
        while (m_vornel->isStopping()) {
            if (deadline.hasExpired()) return false;
            QDeadlineTimer turn(50);
            while (!turn.hasExpired() && m_vornel->isStopping())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (m_vornel->isStopping()) m_clock->advance(500ms);
        }
        return true;
    }

    // The message of the error a start ends with, or nothing.
    std::optional<QString> startError(QCoro::Task<>& task, std::chrono::milliseconds real = 50ms,
                                      std::chrono::milliseconds step = 500ms) {
        drive(task, step, real);
        try {
            test::await(std::move(task));
        } catch (const LLMError& e) {
            EXPECT_EQ(e.kind(), LLMError::Kind::offline);
            EXPECT_EQ(e.subject(), QStringLiteral("O Vornel"));
            return e.message();
        }
        return std::nullopt;
    }

    QTemporaryDir m_dir;
    QString m_token, m_launcher, m_serverDir;
    std::optional<ManualClock> m_clock;
    test::LoopbackServer m_server;
    Vornel::Setup m_setup;
    std::unique_ptr<Vornel> m_vornel;
    LLMClient m_client;
    int m_inFlight = 0;
    int m_changed = 0;
};

TEST_F(VornelTest, CommandLineFromTheControlApplicationsOptions) {
    const QString port = QString::number(m_server.port());
    const QStringList defaults{
        "serve", "--model",        "vornel-qwen-30b", "--port",        port,  "--kv-format",
        "int8",  "--prefill-mode", "bounded",         "--max-context", "20K", "--max-cache-disk",
        "20G"};
    const struct {
        QByteArray options;
        QStringList args;
    } cases[] = {
        {"", defaults},
        {"{oops", defaults},
        {R"({"webUI":"no"})", defaults},
        {R"({"context":"auto","cacheDisk":"0","webUI":false,"reasoning":""})",
         {"serve", "--model", "vornel-qwen-30b", "--port", port, "--kv-format", "int8",
          "--prefill-mode", "bounded", "--no-webui"}},
        {R"({"context":"64K","cacheDisk":"","kvFormat":"q4","prefillMode":"","reasoning":"high","webUI":true})",
         {"serve", "--model", "vornel-qwen-30b", "--port", port, "--kv-format", "q4",
          "--prefill-mode", "", "--max-context", "64K", "--max-cache-disk", "",
          "--default-reasoning-effort", "high"}},
    };
    for (const auto& c : cases) {
        setOptions(c.options);
        EXPECT_EQ(m_vornel->arguments(m_client), c.args) << c.options.constData();
    }
    setOptions("");
    LLMClient noPort = m_client;
    noPort.baseURL = QStringLiteral("http://localhost/v1");
    EXPECT_EQ(m_vornel->arguments(noPort).mid(3, 2), (QStringList{"--port", "8000"}));
}

TEST_F(VornelTest, HandWrittenOptionsReadAsWrittenOrAreReported) {
    const QString file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         u'/' + m_setup.optionsDomain + QStringLiteral(".conf");
    const QStringList chosen{"--kv-format",   "q4",  "--prefill-mode",   "bounded",
                             "--max-context", "64K", "--max-cache-disk", "20G",
                             "--no-webui"};
    const QStringList standard{"--kv-format",   "int8", "--prefill-mode",   "bounded",
                               "--max-context", "20K",  "--max-cache-disk", "20G"};
    const struct {
        QByteArray file;
        QStringList args; // after the model and port
        bool reported;
    } cases[] = {
        // As a person writes it: the INI reader would split it at the commas.
        {R"(config={"context":"64K","kvFormat":"q4","webUI":false})", chosen, false},
        {"[General]\nconfig = {\"context\": \"64K\", \"kvFormat\": \"q4\", \"webUI\": "
         "false}\n",
         chosen, false},
        // As QSettings writes it.
        {R"(config="{\"context\":\"64K\",\"kvFormat\":\"q4\",\"webUI\":false}")", chosen, false},
        {R"x(config="@ByteArray({\"context\":\"64K\",\"kvFormat\":\"q4\",\"webUI\":false})")x",
         chosen, false},
        // Another section's key is not the option.
        {"[Outro]\nconfig={\"kvFormat\":\"q4\"}\n", standard, false},
        {R"(config={"context":"64K",)", standard, true},
        {R"(config={"webUI":"no"})", standard, true},
    };
    static QStringList warnings;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    QDateTime written = QDateTime::currentDateTime();
    for (const auto& c : cases) {
        warnings.clear();
        write(file, c.file);
        // QSettings takes a file of the same size and time for the one it read before.
        written = written.addSecs(1);
        QFile(file).setFileTime(written, QFileDevice::FileModificationTime);
        EXPECT_EQ(m_vornel->arguments(m_client).mid(5), c.args) << c.file.constData();
        EXPECT_EQ(warnings.size(), c.reported ? 1 : 0) << c.file.constData();
        if (c.reported && !warnings.isEmpty()) {
            EXPECT_TRUE(warnings.first().contains(u"não puderam ser lidas"));
            EXPECT_TRUE(warnings.first().contains(file));
        }
    }
    qInstallMessageHandler(previous);
}

TEST_F(VornelTest, RootAndStatusDocument) {
    EXPECT_EQ(Vornel::root(QStringLiteral("http://127.0.0.1:8000/v1")),
              QStringLiteral("http://127.0.0.1:8000"));
    EXPECT_EQ(Vornel::root(QStringLiteral("http://127.0.0.1:8000/v1/")),
              QStringLiteral("http://127.0.0.1:8000/v1/"));
    EXPECT_EQ(Vornel::root(QStringLiteral("http://127.0.0.1:8000")),
              QStringLiteral("http://127.0.0.1:8000"));

    using Load = Vornel::Load;
    const struct {
        QByteArray body;
        std::optional<Load> load;
    } cases[] = {
        {R"({"requests":{"submitted":7},"http":{"requests":{"active":1}},"frontend":{"active":2}})",
         Load{7, 3}},
        {"{}", Load{0, 0}},
        {R"({"requests":{"submitted":7.5},"http":{"requests":{"active":"1"}},"frontend":[]})",
         Load{0, 0}},
        {"[1]", std::nullopt},
        {"not json", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Vornel::parseLoad(c.body), c.load) << c.body.constData();
}

TEST_F(VornelTest, MatchesOnlyALocalVornelModelWithTheServerInstalled) {
    EXPECT_TRUE(m_vornel->serves(m_client));
    const struct {
        AIProvider provider;
        const char* base;
        const char* model;
        bool matches;
    } cases[] = {
        {AIProvider::custom, "http://localhost:8000/v1", "Vornel-M1", true},
        {AIProvider::custom, "http://[::1]:8000/v1", "qwen-VORNEL", true},
        {AIProvider::custom, "http://127.0.0.1/v1", "vornel", true},
        {AIProvider::custom, "http://192.168.0.9:8000/v1", "vornel", false},
        {AIProvider::custom, "http://127.0.0.1:8000/v1", "qwen", false},
        {AIProvider::ollama, "http://127.0.0.1:8000/v1", "vornel", false},
        {AIProvider::custom, "não é url", "vornel", false},
    };
    for (const auto& c : cases) {
        LLMClient client{c.provider, QString::fromUtf8(c.base), QString::fromUtf8(c.model), {}};
        EXPECT_EQ(m_vornel->serves(client), c.matches) << c.base << " " << c.model;
    }
    QFile::remove(m_launcher);
    EXPECT_FALSE(m_vornel->serves(m_client));
}

TEST_F(VornelTest, ReadyServerIsNotStartedAgain) {
    write(m_serverDir + QStringLiteral("/pid"), "1");
    auto task = m_vornel->ensureReady(m_client);
    EXPECT_EQ(startError(task), std::nullopt);
    EXPECT_EQ(launches(), 0);
}

TEST_F(VornelTest, ConcurrentCallersShareOneStart) {
    auto first = m_vornel->ensureReady(m_client);
    auto second = m_vornel->ensureReady(m_client);
    EXPECT_EQ(startError(first), std::nullopt);
    EXPECT_EQ(startError(second), std::nullopt);
    EXPECT_FALSE(m_vornel->isStarting());
    EXPECT_EQ(launches(), 1);
    EXPECT_TRUE(serverRunning());
    EXPECT_EQ(m_changed, 1);

    QStringList args = QString::fromUtf8(read(root() + QStringLiteral("/args"))).split(u'\0');
    args.removeLast();
    EXPECT_EQ(args, m_vornel->arguments(m_client));
    const QByteArray env = read(root() + QStringLiteral("/env"));
    EXPECT_TRUE(
        env.contains("PATH=/opt/homebrew/bin:/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin\n"))
        << env.toStdString();
    EXPECT_TRUE(env.contains("PYTHONUNBUFFERED=1\n"));
    EXPECT_TRUE(read(m_setup.logPath).contains("servidor iniciando"));

    // Idle now: the stop begins and takes the server down.
    m_server.setHandler([](const test::HttpRequest&) {
        return test::HttpResponse::json(R"({"requests":{"submitted":3}})");
    });
    auto stop = m_vornel->stopWhenIdle(m_client);
    drive(stop);
    EXPECT_TRUE(test::await(std::move(stop)));
    EXPECT_TRUE(untilStopped());
    EXPECT_FALSE(serverRunning());
    EXPECT_EQ(m_changed, 2);
}

// pgrep and pkill are awaited: while one hangs the event loop goes on, and at the limit the
// tool is stopped and counts as one that could not answer.
TEST_F(VornelTest, AProcessToolThatHangsBlocksNothingAndIsGivenUp) {
    const QString hung = root() + QStringLiteral("/pgrep-hung");
    const QString pgrep = root() + QStringLiteral("/pgrep");
    write(pgrep,
          QStringLiteral("#!/bin/sh\nif [ ! -e %1 ]; then echo $$ > %1; exec sleep 60; fi\n"
                         "exec /usr/bin/pgrep \"$@\"\n")
              .arg(hung)
              .toUtf8(),
          true);
    m_setup.pgrep = pgrep;
    m_setup.toolLimit = 10s;
    m_vornel = std::make_unique<Vornel>(m_setup);

    auto task = m_vornel->ensureReady(m_client);
    ASSERT_TRUE(test::spinUntil([&] { return !read(hung).isEmpty(); }));
    const pid_t tool = pid_t(read(hung).trimmed().toInt());
    // A blocking wait would have held this thread until the tool ended.
    EXPECT_EQ(::kill(tool, 0), 0);
    EXPECT_FALSE(task.isReady());
    m_clock->advance(10s);
    EXPECT_TRUE(test::spinUntil([&] { return ::kill(tool, 0) != 0; }));
    EXPECT_EQ(startError(task), std::nullopt);
    EXPECT_EQ(launches(), 1);
}

TEST_F(VornelTest, StartFailures) {
    {
        setMode("die"); // exits at once: noticed once the first 5 s have passed
        auto task = m_vornel->ensureReady(m_client);
        const auto begun = m_clock->uptime();
        EXPECT_EQ(startError(task), QStringLiteral("O Vornel não respondeu"));
        const auto waited = m_clock->uptime() - begun;
        EXPECT_GT(waited, Vornel::livenessAfter);
        // The test clock moves on while the process tools run in real time, so a loaded
        // machine adds seconds here; what matters is that the start limit was not waited out.
        EXPECT_LT(waited, Vornel::livenessAfter + 30s);
        EXPECT_LT(waited, Vornel::startLimit);
    }
    {
        QFile::remove(m_launcher);
        auto task = m_vornel->ensureReady(m_client);
        EXPECT_TRUE(startError(task));
        EXPECT_FALSE(m_vornel->isStarting());
    }
}

TEST_F(VornelTest, ServerThatNeverGetsReadyGivesUpAfterThreeMinutes) {
    m_server.setHandler([](const test::HttpRequest&) { return test::HttpResponse::text("", 503); });
    auto task = m_vornel->ensureReady(m_client);
    const auto begun = m_clock->uptime();
    EXPECT_TRUE(startError(task, 5ms, 5s)); // each poll then stands for ten
    EXPECT_GE(m_clock->uptime() - begun, Vornel::startLimit);
    EXPECT_EQ(launches(), 1);
    EXPECT_EQ(m_changed, 0);
}

TEST_F(VornelTest, IdleDecisions) {
    const auto status = [&](const QByteArray& body) {
        m_server.setHandler(
            [body](const test::HttpRequest&) { return test::HttpResponse::json(body); });
    };
    const auto stopWhenIdle = [&] {
        auto task = m_vornel->stopWhenIdle(m_client);
        drive(task);
        return test::await(std::move(task));
    };

    status(R"({"requests":{"submitted":4},"frontend":{"active":1}})");
    EXPECT_FALSE(stopWhenIdle());
    EXPECT_EQ(m_vornel->baseline(), 4);

    status(R"({"requests":{"submitted":9}})");
    EXPECT_FALSE(stopWhenIdle()); // used by someone since the last look
    EXPECT_EQ(m_vornel->baseline(), 9);

    m_inFlight = 1;
    EXPECT_FALSE(stopWhenIdle());
    EXPECT_EQ(m_vornel->baseline(), 9);

    m_inFlight = 0;
    EXPECT_TRUE(stopWhenIdle());
    EXPECT_EQ(m_vornel->baseline(), std::nullopt);
    EXPECT_TRUE(untilStopped());

    m_vornel->takeBaseline(m_client);
    EXPECT_TRUE(test::spinUntil([&] { return m_vornel->baseline() == 9; }));

    // A count read from another server says nothing about this one: idle, it stops.
    test::LoopbackServer other;
    other.setHandler([](const test::HttpRequest&) {
        return test::HttpResponse::json(R"({"requests":{"submitted":3}})");
    });
    LLMClient elsewhere = m_client;
    elsewhere.baseURL = other.url(QStringLiteral("/v1"));
    auto elsewhereIdle = m_vornel->stopWhenIdle(elsewhere);
    drive(elsewhereIdle);
    EXPECT_TRUE(test::await(std::move(elsewhereIdle)));
    EXPECT_TRUE(untilStopped());

    m_client.baseURL = QStringLiteral("http://127.0.0.1:1/v1"); // nobody listens
    EXPECT_TRUE(stopWhenIdle());
    EXPECT_FALSE(m_vornel->isStopping());
    m_vornel->takeBaseline(m_client);
    EXPECT_TRUE(test::spinUntil([&] { return !m_vornel->baseline(); }));
}

TEST_F(VornelTest, ServerIgnoringSignalsIsKilled) {
    setMode("stubborn");
    auto start = m_vornel->ensureReady(m_client);
    EXPECT_EQ(startError(start), std::nullopt);
    m_server.setHandler([](const test::HttpRequest&) { return test::HttpResponse::json("{}"); });

    auto stop = m_vornel->stopWhenIdle(m_client);
    drive(stop);
    EXPECT_TRUE(test::await(std::move(stop)));
    const auto begun = m_clock->uptime();
    EXPECT_TRUE(untilStopped());
    EXPECT_GE(m_clock->uptime() - begun,
              Vornel::pollInterval * Vornel::stopPolls + Vornel::killDelay);
    EXPECT_TRUE(test::spinUntil([&] { return !serverRunning(); }, 5000));
}

TEST_F(VornelTest, AnotherUsersServerIsNeverSignalled) {
    // A process of "nobody" whose command line names the server: ours to see, not ours to
    // stop. It needs no file of ours, so it runs whatever "nobody" may read.
    QProcess other;
    other.start(QStringLiteral("/usr/bin/setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups"), QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                 QStringLiteral("while :; do sleep 1; done"),
                 m_serverDir + QStringLiteral("/server.py")});
    if (!other.waitForStarted() || !test::spinUntil([&] { return serverRunning(); }, 5000))
        GTEST_SKIP() << "cannot run a process as another user here";

    m_server.setHandler([](const test::HttpRequest&) { return test::HttpResponse::json("{}"); });
    auto stop = m_vornel->stopWhenIdle(m_client);
    drive(stop);
    EXPECT_TRUE(test::await(std::move(stop)));
    EXPECT_TRUE(untilStopped());
    EXPECT_EQ(other.state(), QProcess::Running);
    other.kill();
    other.waitForFinished();
}

TEST_F(VornelTest, LogIsAppendedPrivateAndCapped) {
    QDir().mkpath(QFileInfo(m_setup.logPath).absolutePath());
    write(m_setup.logPath, QByteArray(400, 'a') + '\n');
    auto first = m_vornel->ensureReady(m_client);
    EXPECT_EQ(startError(first), std::nullopt);
    EXPECT_TRUE(read(m_setup.logPath).startsWith(QByteArray(400, 'a')));
    struct stat st {};
    ::stat(QFile::encodeName(m_setup.logPath).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    QProcess::execute(QStringLiteral("/usr/bin/pkill"),
                      {QStringLiteral("-KILL"), QStringLiteral("-f"), m_setup.serverPattern});
    ASSERT_TRUE(test::spinUntil([&] { return !serverRunning(); }, 5000));
    QFile::remove(m_serverDir + QStringLiteral("/pid"));

    write(m_setup.logPath, QByteArray(2000, 'b') + '\n'); // over the limit
    auto second = m_vornel->ensureReady(m_client);
    EXPECT_EQ(startError(second), std::nullopt);
    EXPECT_TRUE(read(m_setup.logPath + QStringLiteral(".1")).startsWith(QByteArray(2000, 'b')));
    EXPECT_EQ(read(m_setup.logPath).trimmed(), QByteArray("servidor iniciando"));
}

} // namespace
} // namespace nolvea
