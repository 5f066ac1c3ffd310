#include "app/Console.h"
#include "app/SelfTest.h"
#include "app/SpeechTimeline.h"
#include "app/Stopwatch.h"
#include "platform/linux/WavData.h"
#include "speech/NeuralVoiceRequest.h"
#include "speech/SpeechText.h"
#include "speech/TTSServer.h"

#include <array>

namespace nolvea {

namespace {

// The answer is cut as the assistant cuts it before speaking.
constexpr int kChunkLength = 200;

constexpr std::array kVoices{NeuralVoice::kokoroAlex, NeuralVoice::voxtralMale,
                             NeuralVoice::qwenJarvis};

// How long the audio plays; 0 when it is not audio.
double duration(const QByteArray& wav) {
    const auto data = WavData::parse(wav);
    return data ? data->seconds() : 0;
}

} // namespace

QCoro::Task<bool> SelfTest::tts(QString text) {
    return tts(TTSServer::shared(), std::move(text));
}

QCoro::Task<bool> SelfTest::tts(TTSServer& server, QString text) {
    const Stopwatch startup;
    const bool running = co_await server.ensureRunning();
    if (!running) {
        const QString status = server.status().description();
        // A server that was launched but never answered must not outlive the test.
        server.stop();
        Console::line(QString::fromUtf8("ERRO: servidor de voz não subiu (") + status +
                      QString::fromUtf8(") — veja ") + TTSServer::logPath());
        co_return false;
    }
    Console::line(QString::fromUtf8("servidor pronto em ") +
                  Console::seconds(startup.seconds(), 1) + QString::fromUtf8("s"));

    const QStringList chunks = SpeechText::sentences(SpeechText::prepare(text), kChunkLength);
    bool allSpoken = true;
    for (const NeuralVoice voice : kVoices) {
        // The voice's first synthesis loads it; that is not what the listener waits for.
        try {
            co_await server.synthesize(QString::fromUtf8("Olá."), voice, 1.0);
        } catch (const std::exception&) {
        }
        // Chunks are made one at a time while the earlier ones would play: a chunk that
        // arrives after the queued audio ran out leaves a silence.
        const Stopwatch run;
        SpeechTimeline timeline;
        for (const QString& chunk : chunks) {
            QByteArray audio;
            try {
                audio = co_await server.synthesize(chunk, voice, 1.0);
            } catch (const std::exception&) {
                allSpoken = false; // counted as a chunk without sound
            }
            timeline.add(run.seconds(), duration(audio));
        }
        Console::line(NeuralVoiceRequest::label(voice) + QString::fromUtf8(": começa a falar em ") +
                      Console::seconds(timeline.firstSound(), 1) +
                      QString::fromUtf8("s · silêncio total entre frases ") +
                      Console::seconds(timeline.silence(), 1) +
                      QString::fromUtf8("s · fala total ") +
                      Console::seconds(timeline.speech(), 1) + QString::fromUtf8("s"));
    }
    QStringList quoted;
    for (const QString& chunk : chunks)
        quoted << QString::fromUtf8("«") + chunk + QString::fromUtf8("»");
    Console::line(QString::fromUtf8("trechos: ") + quoted.join(QString::fromUtf8(" | ")));
    server.stop();
    co_return allSpoken;
}

} // namespace nolvea
