// The watch bookkeeping every pointer source shares, through the fake.
#include "support/fakes/FakePointerSource.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace nolvea;
using test::FakePointerSource;

TEST(PointerSource, listensOnlyWhileAWatchLives) {
    FakePointerSource source;
    source.moveTo({5, 5});
    EXPECT_EQ(source.starts(), 0);

    std::vector<QPoint> heard;
    auto a = source.watch([&](const auto& e) { heard.push_back(e.position); });
    auto b = source.watch([](const auto&) {});
    EXPECT_EQ(source.starts(), 1);
    source.moveTo({6, 6});
    a.reset();
    EXPECT_EQ(source.stops(), 0);
    source.moveTo({7, 7});
    b.reset();
    EXPECT_EQ(source.stops(), 1);
    EXPECT_EQ(heard, std::vector<QPoint>{QPoint(6, 6)});
}

// One listener drops another's watch while an event is handed round: the dropped one hears no
// more, not even the event under way.
TEST(PointerSource, aWatchDroppedDuringAnEventHearsNoMore) {
    FakePointerSource source;
    int secondHeard = 0;
    std::unique_ptr<PointerSource::Watch> second;
    auto first = source.watch([&](const auto&) { second.reset(); });
    second = source.watch([&](const auto&) { ++secondHeard; });
    source.moveTo({1, 1});
    EXPECT_EQ(secondHeard, 0);
    EXPECT_EQ(source.stops(), 0);
    first.reset();
    EXPECT_EQ(source.stops(), 1);
}

TEST(PointerSource, aWatchMayOutliveItsSource) {
    auto source = std::make_unique<FakePointerSource>();
    auto watch = source->watch([](const auto&) {});
    source.reset();
    watch.reset();
}
