// The speech-server self-test of the real program, with a stand-in server that speaks the
// server's protocol through espeak-ng. The program's server listens on its fixed port, so the
// cases run one after the other in one test, in a network of their own.

#include "DevRun.h"
#include "app/SelfTest.h"
#include "speech/TTSServer.h"
#include "support/Async.h"
#include "support/SpeechServerScript.h"
#include "support/TestEnvironment.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace nolvea;
using test::runNolvea;
using test::SpeechServerScript;

namespace {

// A network of its own for the program, so the fixed port of its speech server is free
// whatever else runs on this machine; the plain program where namespaces cannot be made.
QStringList ownNetwork() {
    const QStringList wrapper{"unshare", "-n", "sh", "-c", R"(ip link set lo up && exec "$@")",
                              "sh"};
    QProcess probe;
    probe.start(wrapper.first(), wrapper.mid(1) + QStringList{"true"});
    if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
        probe.exitCode() == 0)
        return wrapper;
    return {};
}

test::DevRun runAlone(const QStringList& args) {
    static const QStringList wrapper = ownNetwork();
    return runNolvea(args, QProcessEnvironment::systemEnvironment(), {}, wrapper);
}

} // namespace

TEST(SpeechSelfTest, MeasuresThreeVoicesOrSaysWhyTheServerDidNotStart) {
    // A server that ends at once: one line with its state and where its log is.
    SpeechServerScript::install(SpeechServerScript::Mode::exitAtOnce);
    const test::DevRun failed = runAlone({"--selftest-tts", "Olá."});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.lines,
              QStringList({"ERRO: servidor de voz não subiu (failed(O servidor de voz fechou — "
                           "veja tts-server.log)) — veja " +
                           TTSServer::logPath()}));

    SpeechServerScript::install(SpeechServerScript::Mode::serve);
    const test::DevRun run =
        runAlone({"--selftest-tts", "Primeira frase, curta. **Segunda** frase aqui!"});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    ASSERT_EQ(run.lines.size(), 5) << run.output().toStdString();
    EXPECT_TRUE(
        QRegularExpression("^servidor pronto em \\d+\\.\\ds$").match(run.lines[0]).hasMatch())
        << run.lines[0].toStdString();
    const QStringList labels{"Alex · Kokoro (masculina)", "Voxtral masculina",
                             "Mordomo · Qwen3 (estilo JARVIS)"};
    for (int i = 0; i < 3; ++i) {
        const auto m = QRegularExpression("^(.*): começa a falar em \\d+\\.\\ds · silêncio total "
                                          "entre frases \\d+\\.\\ds · fala total (\\d+\\.\\d)s$")
                           .match(run.lines[1 + i]);
        ASSERT_TRUE(m.hasMatch()) << run.lines[1 + i].toStdString();
        EXPECT_EQ(m.captured(1), labels[i]);
        // Two sentences spoken by espeak-ng last well over a second.
        EXPECT_GT(m.captured(2).toDouble(), 1.0) << run.lines[1 + i].toStdString();
    }
    EXPECT_EQ(run.lines[4], "trechos: «Primeira frase, curta.» | «Segunda frase aqui!»");
    SpeechServerScript::remove();
}

namespace {

int childCount() {
    QProcess pgrep;
    pgrep.start("pgrep", {"-c", "-P", QString::number(QCoreApplication::applicationPid())});
    pgrep.waitForFinished();
    return pgrep.readAllStandardOutput().trimmed().toInt();
}

} // namespace

// A server that was launched but never answered is stopped with the failed test, not left
// running after it.
TEST(SpeechSelfTest, AServerThatNeverAnsweredIsStoppedToo) {
    SpeechServerScript::install(SpeechServerScript::Mode::hang);
    TTSServer::Options options;
    options.port = SpeechServerScript::freePort();
    options.pollInterval = std::chrono::milliseconds(20);
    options.maxPolls = 3;
    TTSServer server(options);
    EXPECT_FALSE(test::await(SelfTest::tts(server, "Olá.")));
    EXPECT_FALSE(server.hasProcess());
    EXPECT_TRUE(test::spinUntil([] { return childCount() == 0; }));
    SpeechServerScript::remove();
}
