#include "speech/TTSServer.h"

#include "ai/LLMError.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/SpeechServerScript.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <csignal>

using namespace nolvea;
using test::await;
using test::HttpResponse;
using test::SpeechServerScript;

namespace {

QByteArray readLog() {
    QFile f(TTSServer::logPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class TTSServerTest : public ::testing::Test {
protected:
    void TearDown() override { SpeechServerScript::remove(); }

    // A server object on a port of its own, polling quickly.
    std::unique_ptr<TTSServer> serverOn(quint16 port, int maxPolls = 240) {
        TTSServer::Options o;
        o.port = port;
        o.pollInterval = std::chrono::milliseconds(20);
        o.maxPolls = maxPolls;
        return std::make_unique<TTSServer>(o);
    }
};

} // namespace

TEST_F(TTSServerTest, AServerAlreadyListeningIsUsedWithoutAChild) {
    test::LoopbackServer http;
    http.on("GET", QStringLiteral("/"), HttpResponse::text("ok"));
    auto server = serverOn(http.port());
    EXPECT_TRUE(await(server->ensureRunning()));
    EXPECT_EQ(server->status(), TTSServer::Status::ready());
    EXPECT_FALSE(server->hasProcess());
    EXPECT_TRUE(SpeechServerScript::launches().isEmpty());
}

// Two callers while nothing runs: one child with the whole command line, both told yes; the
// log holds both of its output streams.
TEST_F(TTSServerTest, ConcurrentCallersShareOneLaunch) {
    SpeechServerScript::install(SpeechServerScript::Mode::serve);
    const quint16 port = SpeechServerScript::freePort();
    auto server = serverOn(port);
    QList<TTSServer::Status> seen;
    QObject::connect(server.get(), &TTSServer::statusChanged, [&] { seen << server->status(); });
    auto first = server->ensureRunning();
    auto second = server->ensureRunning();
    EXPECT_TRUE(await(std::move(first)));
    EXPECT_TRUE(await(std::move(second)));
    EXPECT_EQ(seen, (QList{TTSServer::Status::starting(), TTSServer::Status::ready()}));
    const QStringList launches = SpeechServerScript::launches();
    ASSERT_EQ(launches.size(), 1);
    EXPECT_EQ(launches[0],
              QStringLiteral("--from mlx-audio[server] --with misaki --with phonemizer-fork --with "
                             "espeakng-loader --with num2words --with spacy --with mistral-common "
                             "mlx_audio.server --host 127.0.0.1 --port ") +
                  QString::number(port));
    EXPECT_TRUE(readLog().contains("starting"));
    EXPECT_TRUE(readLog().contains("to stderr"));
    // Ready and answering: no second launch.
    EXPECT_TRUE(await(server->ensureRunning()));
    EXPECT_EQ(SpeechServerScript::launches().size(), 1);

    // Synthesis through the launched server gives espeak-ng's WAV.
    const QByteArray wav =
        await(server->synthesize(QStringLiteral("Olá."), NeuralVoice::kokoroDora, 1.0));
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_TRUE(server->warmed().contains(NeuralVoice::kokoroDora));
    server->stop();
    EXPECT_EQ(server->status(), TTSServer::Status::stopped());
    EXPECT_TRUE(server->warmed().empty());
}

TEST_F(TTSServerTest, AChildThatExitsEndsTheWaitAtTheNextPoll) {
    QFile old(TTSServer::logPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("an earlier run's long log\n");
    old.close();
    SpeechServerScript::install(SpeechServerScript::Mode::exitAtOnce);
    auto server = serverOn(SpeechServerScript::freePort());
    EXPECT_FALSE(await(server->ensureRunning()));
    EXPECT_EQ(server->status(), TTSServer::Status::failed(QStringLiteral(
                                    "O servidor de voz fechou — veja tts-server.log")));
    EXPECT_EQ(readLog(), QByteArray("starting\nto stderr\n")); // emptied at launch
}

TEST_F(TTSServerTest, NoAnswerAfterTheLastPollFails) {
    SpeechServerScript::install(SpeechServerScript::Mode::hang);
    auto server = serverOn(SpeechServerScript::freePort(), 5);
    EXPECT_FALSE(await(server->ensureRunning()));
    EXPECT_EQ(server->status(),
              TTSServer::Status::failed(QStringLiteral("O servidor de voz não respondeu")));
    EXPECT_TRUE(server->hasProcess());
}

// A launch that fails ends the start at once with the system's reason, without polling.
TEST_F(TTSServerTest, ALaunchFailureEndsTheStartAtOnceWithItsReason) {
    TTSServer::Options o;
    o.port = SpeechServerScript::freePort();
    o.program = QStringLiteral("/nonexistent/env");
    o.pollInterval = std::chrono::hours(1); // a poll would never end the test
    TTSServer server(o);
    EXPECT_FALSE(await(server.ensureRunning()));
    EXPECT_EQ(server.status().kind(), TTSServer::Status::Kind::failed);
    EXPECT_FALSE(server.status().message().isEmpty());
    EXPECT_NE(server.status().message(), QStringLiteral("O servidor de voz não respondeu"));
    EXPECT_FALSE(server.hasProcess());
    // Failed is not final: the next call tries again.
    EXPECT_FALSE(await(server.ensureRunning()));
}

// A relaunch ends the child of the earlier start before it starts another.
TEST_F(TTSServerTest, ARelaunchEndsTheOldChildFirst) {
    SpeechServerScript::install(SpeechServerScript::Mode::hang);
    auto server = serverOn(SpeechServerScript::freePort(), 3);
    EXPECT_FALSE(await(server->ensureRunning()));
    ASSERT_TRUE(test::spinUntil([] { return SpeechServerScript::launches().size() == 1; }));
    EXPECT_FALSE(await(server->ensureRunning()));
    ASSERT_TRUE(test::spinUntil([] { return SpeechServerScript::launches().size() == 2; }));
    // Exactly one hanging child is left.
    EXPECT_TRUE(test::spinUntil([&] {
        QProcess p;
        p.start(QStringLiteral("pgrep"), {QStringLiteral("-c"), QStringLiteral("-P"),
                                          QString::number(QCoreApplication::applicationPid())});
        p.waitForFinished();
        return p.readAllStandardOutput().trimmed() == "1";
    }));
    server->stop();
    EXPECT_FALSE(server->hasProcess());
}

TEST_F(TTSServerTest, SpeedIsSentForTheKokoroVoicesOnly) {
    struct Case {
        NeuralVoice voice;
        bool speed;
        const char* model;
    } cases[] = {
        {NeuralVoice::kokoroAlex, true, "mlx-community/Kokoro-82M-bf16"},
        {NeuralVoice::kokoroDora, true, "mlx-community/Kokoro-82M-bf16"},
        {NeuralVoice::voxtralMale, false, "mlx-community/Voxtral-4B-TTS-2603-mlx-4bit"},
        {NeuralVoice::voxtralFemale, false, "mlx-community/Voxtral-4B-TTS-2603-mlx-4bit"},
        {NeuralVoice::qwenJarvis, false, "mlx-community/Qwen3-TTS-12Hz-1.7B-VoiceDesign-8bit"}};
    for (const auto& c : cases) {
        const QJsonObject body =
            QJsonDocument::fromJson(TTSServer::requestBody(QStringLiteral("Oi"), c.voice, 1.25))
                .object();
        EXPECT_EQ(body.contains(QStringLiteral("speed")), c.speed);
        if (c.speed) {
            EXPECT_EQ(body[QStringLiteral("speed")].toDouble(), 1.25);
        }
        EXPECT_EQ(body[QStringLiteral("model")].toString(), QString::fromUtf8(c.model));
        EXPECT_EQ(body[QStringLiteral("input")].toString(), QStringLiteral("Oi"));
        EXPECT_EQ(body[QStringLiteral("response_format")].toString(), QStringLiteral("wav"));
    }
    const QJsonObject alex =
        QJsonDocument::fromJson(TTSServer::requestBody({}, NeuralVoice::kokoroAlex, 1)).object();
    EXPECT_EQ(alex[QStringLiteral("voice")].toString(), QStringLiteral("pm_alex"));
    EXPECT_EQ(alex[QStringLiteral("lang_code")].toString(), QStringLiteral("p"));
}

TEST_F(TTSServerTest, SynthesisAcceptsOnlyAnAnswerOfAudio) {
    test::LoopbackServer http;
    auto server = serverOn(http.port());
    const QByteArray wav = SpeechServerScript::espeakWav(QStringLiteral("Bom dia."));
    ASSERT_GT(wav.size(), 45);
    http.enqueue("POST", QStringLiteral("/v1/audio/speech"),
                 {200, {{"Content-Type", "audio/wav"}}, wav});
    EXPECT_EQ(await(server->synthesize(QStringLiteral("Bom dia."), NeuralVoice::voxtralMale, 1.0)),
              wav);
    const auto request = http.lastRequest();
    EXPECT_EQ(request.header("content-type"), QByteArray("application/json"));
    EXPECT_EQ(QJsonDocument::fromJson(request.body).object()[QStringLiteral("voice")].toString(),
              QStringLiteral("pt_male"));
    EXPECT_TRUE(server->warmed().contains(NeuralVoice::voxtralMale));

    struct Case {
        int status;
        QByteArray body;
        QString body200; // what the error keeps of the body
    } cases[] = {
        {200, QByteArray(44, 'x'), QString(44, QLatin1Char('x'))},
        {500, "modelo ausente " + QByteArray(300, 'y'),
         QStringLiteral("modelo ausente ") + QString(185, QLatin1Char('y'))},
    };
    for (const auto& c : cases) {
        http.enqueue("POST", QStringLiteral("/v1/audio/speech"), {c.status, {}, c.body});
        try {
            await(server->synthesize(QStringLiteral("x"), NeuralVoice::qwenJarvis, 1.0));
            FAIL() << "no error";
        } catch (const LLMError& e) {
            EXPECT_EQ(e.kind(), LLMError::Kind::http);
            EXPECT_EQ(e.subject(), QStringLiteral("A voz neural"));
            EXPECT_EQ(e.status(), c.status);
            EXPECT_EQ(e.body(), c.body200);
        }
    }
    EXPECT_FALSE(server->warmed().contains(NeuralVoice::qwenJarvis));
}

TEST_F(TTSServerTest, WarmSpeaksOnceAndOnlyForANewVoice) {
    test::LoopbackServer http;
    http.on("GET", QStringLiteral("/"), HttpResponse::text("ok"));
    http.on("POST", QStringLiteral("/v1/audio/speech"),
            {200, {}, SpeechServerScript::espeakWav(QStringLiteral("Olá."))});
    auto server = serverOn(http.port());
    server->warm(NeuralVoice::kokoroAlex);
    ASSERT_TRUE(
        test::spinUntil([&] { return server->warmed().contains(NeuralVoice::kokoroAlex); }));
    EXPECT_EQ(QJsonDocument::fromJson(http.lastRequest().body)
                  .object()[QStringLiteral("input")]
                  .toString(),
              QStringLiteral("Olá."));
    server->warm(NeuralVoice::kokoroAlex);
    QCoreApplication::processEvents();
    EXPECT_EQ(http.count(QStringLiteral("/v1/audio/speech")), 1);
}

TEST_F(TTSServerTest, StopWithoutAChild) {
    TTSServer server;
    server.stop();
    EXPECT_EQ(server.status(), TTSServer::Status::stopped());
    EXPECT_EQ(server.status().description(), QStringLiteral("stopped"));
    EXPECT_EQ(TTSServer::Status::failed(QStringLiteral("x")).description(),
              QStringLiteral("failed(x)"));
}

// A stop while the first ping is on its way: the answer that comes after it changes nothing.
TEST_F(TTSServerTest, AStopDuringTheFirstPingIsNotUndoneByItsAnswer) {
    test::LoopbackServer http;
    HttpResponse slow = HttpResponse::text("ok");
    slow.delayMs = 300;
    http.on("GET", QStringLiteral("/"), slow);
    auto server = serverOn(http.port());
    auto starting = server->ensureRunning();
    ASSERT_TRUE(http.waitForRequests(1));
    server->stop();
    EXPECT_FALSE(await(std::move(starting)));
    EXPECT_EQ(server->status(), TTSServer::Status::stopped());
}

// A stop ends the start under way: its callers hear no at once, and the next call does not
// join the stopped start but launches afresh.
TEST_F(TTSServerTest, AStopEndsTheStartAndTheNextCallStartsAfresh) {
    SpeechServerScript::install(SpeechServerScript::Mode::hang);
    auto server = serverOn(SpeechServerScript::freePort());
    auto first = server->ensureRunning();
    auto joined = server->ensureRunning();
    ASSERT_TRUE(test::spinUntil([] { return SpeechServerScript::launches().size() == 1; }));
    server->stop();
    EXPECT_TRUE(joined.isReady());
    EXPECT_FALSE(await(std::move(joined)));

    SpeechServerScript::install(SpeechServerScript::Mode::serve);
    EXPECT_TRUE(await(server->ensureRunning()));
    EXPECT_EQ(server->status(), TTSServer::Status::ready());
    EXPECT_EQ(SpeechServerScript::launches().size(), 2);
    EXPECT_FALSE(await(std::move(first)));
    server->stop();
}
