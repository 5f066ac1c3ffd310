// The voice pipeline's own time, from the hotkey's release to the paste, with a speech engine
// and a model that answer at once; and the real transcriber's speed on recorded speech.
#include "BenchMain.h"
#include "platform/SpeechEngine.h"
#include "platform/linux/FileAudioInput.h"
#include "platform/linux/PocketsphinxEngine.h"
#include "speech/LiveTranscriber.h"
#include "support/Async.h"
#include "support/RecordedSpeech.h"
#include "support/VoiceRig.h"
#include "support/fakes/FakeSpeechEngine.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>

using namespace nolvea;

namespace {

void releaseToPaste(benchmark::State& st) {
    test::VoiceRig rig(
        test::RecordedSpeech::goForwardPath(),
        std::make_shared<test::FakeSpeechEngine>(QStringLiteral("go forward ten meters")));
    rig.answerCleanup(QStringLiteral("go forward ten meters"),
                      QStringLiteral("Go forward ten meters."));
    auto& c = rig.controller();
    for (auto _ : st) {
        st.PauseTiming();
        rig.advance(5000);
        rig.pasted.clear();
        c.triggerDown();
        test::spinUntil([&] { return rig.input().isDrained(); });
        rig.advance(500);
        st.ResumeTiming();
        c.triggerUp();
        test::spinUntil([&] { return !rig.pasted.isEmpty(); }, 10000);
    }
}
BENCHMARK(releaseToPaste)->Unit(benchmark::kMillisecond)->UseRealTime();

void transcriberRealTimeFactor(benchmark::State& st) {
    auto engine = std::make_shared<PocketsphinxEngine>();
    engine->preload(QStringLiteral("en-us"));
    const auto buffers = test::RecordedSpeech::goForward48kStereo();
    const double audioSeconds = double(test::RecordedSpeech::goForwardRaw().size()) / 32000.0;
    LiveTranscriber t(engine);
    double busy = 0;
    for (auto _ : st) {
        QElapsedTimer timer;
        timer.start();
        t.begin(QStringLiteral("en-US"), {});
        for (const auto& b : buffers)
            t.feed(b);
        benchmark::DoNotOptimize(test::await(t.finish()));
        busy += double(timer.nsecsElapsed()) / 1e9;
    }
    st.counters["real_time_factor"] = busy / (audioSeconds * double(st.iterations()));
    st.counters["audio_s"] = audioSeconds;
}
BENCHMARK(transcriberRealTimeFactor)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return bench::runInTestEnvironment<QCoreApplication>(argc, argv);
}
