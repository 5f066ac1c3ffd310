// Each speech engine through the real transcriber on recorded speech: the time per second of
// audio when it is fed as fast as it goes, and the wait from the end of speech to the final
// text when it is fed in real time (what a person waits for after letting go of the key).
// Whisper runs on the tiny random model and, when one is there, on the user's own model.
#include "BenchMain.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "platform/linux/WhisperEngine.h"
#include "speech/LiveTranscriber.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/TinyWhisperModel.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <thread>

using namespace nolvea;

namespace {

struct Subject {
    std::string name;
    std::function<std::shared_ptr<SpeechEngine>()> make;
    QString locale;
};

double audioSeconds() {
    return double(test::RecordedSpeech::goForwardRaw().size()) / 32000.0;
}

void timePerAudioSecond(benchmark::State& st, const Subject& s) {
    const auto engine = s.make();
    const auto buffers = test::RecordedSpeech::goForward48kStereo();
    LiveTranscriber t(engine);
    double busy = 0;
    for (auto _ : st) {
        QElapsedTimer timer;
        timer.start();
        t.begin(s.locale, {});
        for (const auto& b : buffers)
            t.feed(b);
        benchmark::DoNotOptimize(test::await(t.finish()));
        busy += double(timer.nsecsElapsed()) / 1e9;
    }
    st.counters["s_per_audio_s"] = busy / (audioSeconds() * double(st.iterations()));
}

void endOfSpeechToText(benchmark::State& st, const Subject& s) {
    const auto engine = s.make();
    const auto buffers = test::RecordedSpeech::goForward48kStereo();
    const auto bufferTime = std::chrono::microseconds(1024 * 1'000'000 / 48000);
    LiveTranscriber t(engine);
    int partials = 0;
    t.onPartial = [&](const QString&) { ++partials; };
    for (auto _ : st) {
        st.PauseTiming();
        t.begin(s.locale, {});
        // The microphone's pace: one buffer every 21 ms, from a thread of its own.
        std::thread microphone([&] {
            auto next = std::chrono::steady_clock::now();
            for (const auto& b : buffers) {
                next += bufferTime;
                std::this_thread::sleep_until(next); // the buffer is full only now
                t.feed(b);
            }
        });
        microphone.join();
        st.ResumeTiming();
        benchmark::DoNotOptimize(test::await(t.finish()));
    }
    st.counters["partials"] = double(partials) / double(st.iterations());
}

std::vector<Subject> subjects(const QString& userModels) {
    std::vector<Subject> all{
        {"pocketsphinx_en",
         [] {
             auto e = std::make_shared<PocketsphinxEngine>();
             e->preload(QStringLiteral("en-us"));
             return e;
         },
         QStringLiteral("en-US")},
        {"whisper_tiny_random",
         [] {
             static QTemporaryDir folder;
             test::TinyWhisperModel().write(folder.filePath(QStringLiteral("ggml-tiny.bin")));
             return std::make_shared<WhisperEngine>(folder.path());
         },
         QStringLiteral("pt-BR")},
    };
    WhisperEngine user(userModels);
    const QString model = user.modelFor(QStringLiteral("en-US"));
    if (!model.isEmpty())
        all.push_back({"whisper_" + QFileInfo(model).baseName().toStdString(),
                       [userModels] { return std::make_shared<WhisperEngine>(userModels); },
                       QStringLiteral("en-US")});
    return all;
}

} // namespace

int main(int argc, char** argv) {
    // The user's own models, looked up before the benchmarks move the home folder away.
    const QString data = qEnvironmentVariableIsSet("XDG_DATA_HOME")
                             ? qEnvironmentVariable("XDG_DATA_HOME")
                             : QDir::homePath() + QStringLiteral("/.local/share");
    for (const Subject& s : subjects(data + QStringLiteral("/Falantorix/whisper"))) {
        benchmark::RegisterBenchmark(("timePerAudioSecond/" + s.name).c_str(),
                                     [s](benchmark::State& st) { timePerAudioSecond(st, s); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
        benchmark::RegisterBenchmark(("endOfSpeechToText/" + s.name).c_str(),
                                     [s](benchmark::State& st) { endOfSpeechToText(st, s); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
    }
    return bench::runInTestEnvironment<QCoreApplication>(argc, argv);
}
