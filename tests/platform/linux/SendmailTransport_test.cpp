// sendmail and xdg-email stood in for by small scripts on PATH, run as real child processes.
#include "platform/linux/SendmailTransport.h"

#include "platform/MailTransportError.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/Printers.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

#include <optional>

using namespace nolvea;

namespace {

// Gone, or a zombie nobody reaps here (it was reparented).
bool ended(int pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) == "Z";
}

// Sends and notes the outcome, for tests that go on while it runs.
struct Sending {
    bool finished = false;
    std::optional<QString> failure;
};
QCoro::Task<void> send(MailTransport& transport, QByteArray message, Sending* sending) {
    try {
        co_await transport.send(std::move(message));
    } catch (const MailTransportError& e) {
        sending->failure = e.message();
    }
    sending->finished = true;
}

class SendmailTransportTest : public ::testing::Test {
protected:
    ManualClock clock;
    QString bin = test::home() + QStringLiteral("/bin");
    QByteArray savedPath = qgetenv("PATH");
    SendmailTransport transport{QStringList{}};

    void SetUp() override {
        QDir().mkpath(bin);
        // The fakes need the shell's tools; nothing else named sendmail may be found.
        qputenv("PATH", bin.toUtf8() + ":/usr/bin:/bin");
        Clock::install(&clock);
    }
    void TearDown() override {
        Clock::install(nullptr);
        qputenv("PATH", savedPath);
    }

    QString file(const QString& name) const { return bin + u'/' + name; }
    void install(const QString& name, const QByteArray& script) {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(script);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The error a transport call ends with; nothing when it worked.
    static std::optional<QString> failure(QCoro::Task<void> task) {
        try {
            test::await(std::move(task));
        } catch (const MailTransportError& e) {
            return e.message();
        }
        return std::nullopt;
    }
};

// A message of a megabyte while the program fills both its outputs before reading a byte:
// nothing stalls, and the message arrives whole with the recipients taken from its headers.
TEST_F(SendmailTransportTest, HandsTheWholeMessageOverWhileDrainingTheOutputs) {
    install("sendmail", "#!/bin/sh\n"
                        "printf '%s\\n' \"$@\" > \"$0.args\"\n"
                        "head -c 300000 /dev/zero; head -c 300000 /dev/zero >&2\n"
                        "cat > \"$0.input\"\n");
    QByteArray message = "To: ana@ex.com\nSubject: Oi\n\n";
    message += QByteArray(1 << 20, 'a');
    ASSERT_TRUE(transport.canSend());
    EXPECT_EQ(failure(transport.send(message)), std::nullopt);
    EXPECT_EQ(read("sendmail.args"), "-t\n-oi\n");
    EXPECT_EQ(read("sendmail.input"), message);
}

// While the program runs, the caller's thread goes on with its events.
TEST_F(SendmailTransportTest, SendingLeavesTheEventLoopFree) {
    install("sendmail", "#!/bin/sh\ncat >/dev/null\n"
                        "while [ ! -e \"$0.go\" ]; do sleep 0.05; done\n");
    Sending sending;
    auto task = send(transport, "To: ana@ex.com\n\noi\n", &sending);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    ASSERT_TRUE(test::spinUntil([&] { return ticks >= 5; }));
    EXPECT_FALSE(sending.finished);
    QFile(file("sendmail.go")).open(QIODevice::WriteOnly);
    test::await(std::move(task));
    EXPECT_TRUE(sending.finished);
    EXPECT_EQ(sending.failure, std::nullopt);
}

TEST_F(SendmailTransportTest, AFailedProgramGivesItsComplaint) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"echo 'destinatário desconhecido' >&2; exit 67", "destinatário desconhecido\n"},
        {"exit 75", "Falhou (75)."},
        {"kill -9 $$", "Falhou (9)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        install("sendmail", QByteArray("#!/bin/sh\ncat >/dev/null\n") + c.script + '\n');
        EXPECT_EQ(failure(transport.send("To: ana@ex.com\n\noi\n")), QString::fromUtf8(c.message));
    }

    install("sendmail", "#!/sem/interpretador\n");
    EXPECT_EQ(failure(transport.send("To: ana@ex.com\n\noi\n")),
              QStringLiteral("Não foi possível iniciar %1.").arg(file("sendmail")));

    QFile::remove(file("sendmail"));
    EXPECT_FALSE(transport.canSend());
    EXPECT_EQ(failure(transport.send("To: ana@ex.com\n\noi\n")),
              QStringLiteral("Nenhum programa sendmail instalado."));
}

// A program that never ends is stopped at the time limit, with whatever it started.
TEST_F(SendmailTransportTest, AHangingProgramIsStoppedAtTheTimeLimit) {
    install("sendmail", "#!/bin/sh\n"
                        "sleep 600 & echo $! > \"$0.helper\"\n"
                        "touch \"$0.ready\"; wait\n");
    Sending sending;
    auto task = send(transport, "To: ana@ex.com\n\noi\n", &sending);
    ASSERT_TRUE(test::spinUntil([&] { return QFile::exists(file("sendmail.ready")); }));
    const int helper = read("sendmail.helper").trimmed().toInt();
    ASSERT_GT(helper, 0);
    clock.advance(SendmailTransport::kTimeLimit - std::chrono::seconds(1));
    QCoreApplication::processEvents();
    EXPECT_FALSE(sending.finished);
    clock.advance(std::chrono::seconds(1));
    test::await(std::move(task));
    EXPECT_EQ(sending.failure, QStringLiteral("Falhou (15)."));
    EXPECT_TRUE(test::spinUntil([&] { return ended(helper); })) << "the helper outlived the stop";
}

TEST_F(SendmailTransportTest, ComposeOpensTheMailtoAddress) {
    EXPECT_EQ(failure(transport.compose(QUrl(QStringLiteral("mailto:ana@ex.com?subject=Oi")))),
              QStringLiteral("Nenhum app de e-mail disponível: o xdg-email não está instalado."));

    install("xdg-email", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
    EXPECT_EQ(failure(transport.compose(QUrl(QStringLiteral("mailto:ana@ex.com?subject=Bom dia")))),
              std::nullopt);
    EXPECT_EQ(read("xdg-email.args"), "mailto:ana@ex.com?subject=Bom%20dia\n");
}

} // namespace
