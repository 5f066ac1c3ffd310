// The desktop layers' own latency on a real X server (run under Xvfb or a session):
// a posted key press until the hotkey monitor's callback, and a paste until the text is in
// another application's field.
#include "BenchMain.h"
#include "input/HotkeyMonitor.h"
#include "platform/Clipboard.h"
#include "platform/FrontWindowReader.h"
#include "platform/KeyPoster.h"
#include "platform/Platform.h"
#include "platform/linux/EwmhFrontWindowReader.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/XInputKeySource.h"
#include "platform/linux/XTestKeyPoster.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/FrontApp.h"
#include "support/X11Keys.h"
#include "support/fakes/ManualClock.h"
#include "system/TextInserter.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QGuiApplication>

#include <chrono>
#include <cstdio>

using namespace nolvea;

namespace {

void BM_HotkeyPressToCallback(benchmark::State& state) {
    HotkeyMonitor monitor(std::make_shared<XInputKeySource>());
    monitor.setTrigger(HotkeyChoice::rightOption);
    int downs = 0, ups = 0;
    monitor.onTriggerDown = [&] { ++downs; };
    monitor.onTriggerUp = [&] { ++ups; };
    monitor.start();
    if (!monitor.isRunning()) {
        state.SkipWithError("the key listener did not start");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        test::X11Keys::press("Alt_R");
        const bool heard = test::spinUntil([&] { return downs > ups; }, 5000);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        test::X11Keys::release("Alt_R");
        if (!heard || !test::spinUntil([&] { return ups == downs; }, 5000)) {
            state.SkipWithError("a key edge was not heard");
            break;
        }
    }
    test::X11Keys::releaseAll();
}
BENCHMARK(BM_HotkeyPressToCallback)->UseManualTime()->Unit(benchmark::kMicrosecond);

// From the call to the text standing in the field (the poll of the other program adds its
// own round trip, well under a millisecond on a local display).
void BM_PasteIntoAnotherApplication(benchmark::State& state) {
    ManualClock clock; // the clipboard's restore waits on it, not on real time
    Clock::install(&clock);
    Platform::install<Clipboard>(std::make_shared<QtClipboard>());
    Platform::install<KeyPoster>(std::make_shared<XTestKeyPoster>());
    auto reader = std::make_shared<EwmhFrontWindowReader>();
    Platform::install<FrontWindowReader>(reader);
    {
        test::FrontApp front;
        front.focus();
        if (!front.isReady() || !test::spinUntil([&] {
                const auto w = reader->frontWindow();
                return w && w->processID == front.pid();
            })) {
            state.SkipWithError("the test window did not come to the front");
        } else {
            const QString text = QStringLiteral("Olá, mundo — ditado de teste.");
            for (auto _ : state) {
                front.setText({});
                QElapsedTimer timer;
                timer.start();
                auto insertion = TextInserter::insert(text);
                const bool arrived = test::spinUntil([&] { return front.text() == text; }, 5000);
                state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
                clock.advance(std::chrono::milliseconds(400));
                test::await(std::move(insertion));
                if (!arrived) {
                    state.SkipWithError("the text did not arrive");
                    break;
                }
            }
        }
    }
    Platform::uninstall<FrontWindowReader>();
    Platform::uninstall<KeyPoster>();
    Platform::uninstall<Clipboard>();
    Clock::install(nullptr);
}
BENCHMARK(BM_PasteIntoAnotherApplication)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_desktop needs an X display (run it under Xvfb).\n");
        return 2;
    }
    return bench::runInTestEnvironment<QGuiApplication>(argc, argv);
}
