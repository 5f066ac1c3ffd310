// The simulated playback of the speech-server self-test.

#include "app/SpeechTimeline.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace nolvea;

TEST(SpeechTimeline, SilenceFallsOnlyWhereAChunkCameLate) {
    struct Case {
        const char* what;
        std::vector<std::pair<double, double>> chunks; // arrival, duration
        double firstSound, silence, speech;
    };
    const std::vector<Case> cases{
        {"no chunks", {}, 0, 0, 0},
        {"one chunk", {{1.5, 2.0}}, 1.5, 0, 2.0},
        // Made faster than they play: queued back to back.
        {"ahead of playback", {{1.0, 3.0}, {1.5, 2.0}, {2.0, 1.0}}, 1.0, 0, 6.0},
        // The second comes 1 s after the first ran out, the third while the second plays.
        {"one late", {{1.0, 1.0}, {3.0, 2.0}, {4.0, 1.0}}, 1.0, 1.0, 5.0},
        // A failed chunk has no sound but still moves the timeline.
        {"a failed chunk", {{1.0, 0.0}, {2.0, 1.0}}, 1.0, 1.0, 2.0},
        // Arriving exactly as the audio ends is no silence.
        {"on the dot", {{1.0, 1.0}, {2.0, 1.0}}, 1.0, 0, 2.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpeechTimeline t;
        for (const auto& [arrival, duration] : c.chunks)
            t.add(arrival, duration);
        EXPECT_DOUBLE_EQ(t.firstSound(), c.firstSound);
        EXPECT_DOUBLE_EQ(t.silence(), c.silence);
        EXPECT_DOUBLE_EQ(t.speech(), c.speech);
        EXPECT_EQ(t.chunks(), int(c.chunks.size()));
    }
}
