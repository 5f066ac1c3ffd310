#include "speech/SilenceWatcher.h"

#include <gtest/gtest.h>

#include <functional>

using namespace nolvea;
using Verdict = SilenceWatcher::Verdict;

namespace {

struct Ending {
    Verdict verdict;
    int atMs;
};

// Feeds the watcher the trace's level at every tick until it decides (or 70 s went by).
Ending watch(const std::function<float(int ms)>& trace) {
    SilenceWatcher watcher;
    for (int ms = 100; ms <= 70'000; ms += 100) {
        const Verdict v = watcher.feed(Clock::Duration(ms), trace(ms));
        if (v != Verdict::listen) return {v, ms};
    }
    return {Verdict::listen, 70'000};
}

// Quiet at `floor`, `loud` from `from` up to (not including) `to`.
std::function<float(int)> speech(float floor, float loud, int from, int to) {
    return [=](int ms) { return ms >= from && ms < to ? loud : floor; };
}

} // namespace

TEST(SilenceWatcher, LevelTraces) {
    struct Case {
        const char* name;
        std::function<float(int)> trace;
        Verdict verdict;
        int atMs;
    } cases[] = {
        {"nothing said", speech(0.1f, 0.1f, 0, 0), Verdict::cancel, 8000},
        {"a word, then a pause", speech(0.1f, 0.5f, 1000, 2000), Verdict::stop, 3500},
        {"a pause too short goes on",
         [](int ms) {
             return (ms >= 1000 && ms < 2000) || (ms >= 3400 && ms < 4000) ? 0.5f : 0.1f;
         },
         Verdict::stop, 5500},
        {"just above the margin counts", speech(0.1f, 0.26f, 1000, 1100), Verdict::stop, 2600},
        {"at the margin does not", speech(0.1f, 0.25f, 1000, 1100), Verdict::cancel, 8000},
        {"a noisy room is no speech", speech(0.6f, 0.7f, 500, 70'000), Verdict::cancel, 8000},
        {"a loud floor caps the threshold", speech(0.9f, 0.96f, 1000, 1100), Verdict::stop, 2600},
        {"loud while measuring raises nothing", speech(0.1f, 0.8f, 0, 401), Verdict::cancel, 8000},
        {"a word just before the limit", speech(0.1f, 0.5f, 7900, 8000), Verdict::stop, 9500},
        {"speech without end stops at the cap", speech(0.1f, 0.5f, 1000, 70'000), Verdict::stop,
         60'000},
    };
    for (const auto& k : cases) {
        const Ending e = watch(k.trace);
        EXPECT_EQ(e.verdict, k.verdict) << k.name;
        EXPECT_EQ(e.atMs, k.atMs) << k.name;
    }
}
